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
class FramePacer {
public:
    explicit FramePacer(FrameClock& clock, uint64_t frameMicros = Tuning::kFrameMicros);

    void StartFrame();
    // Sleeps until the iteration is due to end, if that is still ahead.
    void FinishFrame();

    void SetClock(FrameClock& clock);

private:
    FrameClock* clock;
    uint64_t frameMicros;
    uint64_t deadline = 0;    // microseconds on the clock when the current iteration is due to end
    bool onTimeline = false;  // false at first and after an overrun: the next start sets the pace
};
