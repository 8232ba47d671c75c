// Paces the main loop: iterations are due one physics step of wall-clock time apart.
#pragma once

#include "field/tuning.h"

#include <cstdint>

// Where the loop reads the time and waits; a test hands the pacer a clock of its own.
class FrameClock {
public:
    virtual ~FrameClock();
    virtual uint64_t NowMicros() = 0;
    virtual void SleepMicros(uint64_t micros) = 0;
    // Hands control away for a moment without waiting: a loop that shares its thread with its
    // surroundings (a browser page) lets them run. Does nothing on a clock of its own thread.
    virtual void Yield();
    // Hears how many game steps the iteration starting now takes. Does nothing unless the clock
    // reports them (a browser page publishes them).
    virtual void Stepped(uint32_t steps);
};

// The real, monotonic wall clock.
class SystemClock : public FrameClock {
public:
    uint64_t NowMicros() override;
    void SleepMicros(uint64_t micros) override;

    static SystemClock& Instance();
};

// One physics step per iteration, so the game runs at real speed when an iteration is
// stretched to the step's length. Iterations are due on the loop's own timeline, one frame
// after the previous one was due, so a sleep that wakes late is made up in the next frame and
// the loop holds exactly one step per frame of wall-clock time on average. An iteration that
// overran is followed at once by the next, after a yield to the clock, and the timeline restarts
// from there: there are no catch-up steps. Every iteration ends in one sleep or one yield.
//
// A loop that may catch up (a browser page on a slow device, where drawing costs more than a
// frame) keeps to its timeline through overruns instead: an iteration that starts late takes one
// step for every frame of time it is behind, plus its own, up to maxSteps, and draws once; what
// is still owed is made up in the iterations after it. A loop further behind than
// mostFramesBehind (a tab that was asleep in the background) forgets it all and sets the pace
// afresh, so it never races through the time it missed.
class FramePacer {
public:
    explicit FramePacer(FrameClock& clock, uint64_t frameMicros = Tuning::kFrameMicros);

    // Starts an iteration: how many game steps it is to take, 1 unless it may catch up.
    uint32_t StartFrame();
    // Sleeps until the iteration is due to end, if that is still ahead.
    void FinishFrame();

    void SetClock(FrameClock& clock);
    // Lets iterations take up to maxSteps steps to keep real time (1, the default: never), as
    // long as the loop is no more than mostFramesBehind behind.
    void AllowCatchUp(uint32_t maxSteps, uint32_t mostFramesBehind);

private:
    FrameClock* clock;
    uint64_t frameMicros;
    uint32_t maxSteps = 1;
    uint32_t mostFramesBehind = 0;
    uint64_t deadline = 0;    // microseconds on the clock when the current iteration is due to end
    bool onTimeline = false;  // false at first and after an overrun: the next start sets the pace
};
