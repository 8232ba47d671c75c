// The page's clock: the main loop shares the browser's only thread with the page.
#pragma once

#include "app/frame_pacer.h"

#include <cstdint>

// Sleeps hand the thread back to the browser until the time is up (the loop is resumed from
// where it slept), and a yield hands it back for a moment. The pacer ends every iteration in
// one or the other, so that is where the page counts iterations, in Module.iterations. The game
// steps taken so far, more than the iterations when a slow device draws less often, are in
// Module.steps.
//
// A held clock (a test's, asked for in the page's address) stands still: every iteration ends
// waiting until the page grants it, one at a time, from Module.granted, and only then does the
// clock move on by the frame it slept. The loop takes one step per iteration granted, never
// catching up, and between grants the picture on the canvas stays as it was drawn; while it
// waits, Module.parked is true.
class WebClock : public FrameClock {
public:
    uint64_t NowMicros() override;
    void SleepMicros(uint64_t micros) override;
    void Yield() override;
    void Stepped(uint32_t count) override;

    // From now on the clock is held. Before the loop starts.
    void Hold();

    static WebClock& Instance();

private:
    void CountIteration();
    // A held clock's sleep: waits for the page's grant, then moves on by `micros`.
    void WaitForGrant(uint64_t micros);

    uint64_t iterations = 0;
    uint64_t steps = 0;
    bool held = false;
    uint64_t heldMicros = 0;
};
