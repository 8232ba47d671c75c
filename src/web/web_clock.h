// The page's clock: the main loop shares the browser's only thread with the page.
#pragma once

#include "app/frame_pacer.h"

#include <cstdint>

// Sleeps hand the thread back to the browser until the time is up (the loop is resumed from
// where it slept), and a yield hands it back for a moment. The pacer ends every iteration in
// one or the other, so that is where the page counts iterations, in Module.iterations. The game
// steps taken so far, more than the iterations when a slow device draws less often, are in
// Module.steps.
class WebClock : public FrameClock {
public:
    uint64_t NowMicros() override;
    void SleepMicros(uint64_t micros) override;
    void Yield() override;
    void Stepped(uint32_t count) override;

    static WebClock& Instance();

private:
    void CountIteration();

    uint64_t iterations = 0;
    uint64_t steps = 0;
};
