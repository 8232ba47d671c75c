// Wall-clock pacing of the main loop.
#include "app/frame_pacer.h"

#include <chrono>
#include <thread>

FrameClock::~FrameClock() = default;

void FrameClock::Yield() {}

uint64_t SystemClock::NowMicros()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

void SystemClock::SleepMicros(uint64_t micros)
{
    std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

SystemClock& SystemClock::Instance()
{
    static SystemClock clock;
    return clock;
}

FramePacer::FramePacer(FrameClock& clock, uint64_t frameMicros) : clock(&clock), frameMicros(frameMicros) {}

void FramePacer::StartFrame()
{
    const uint64_t now = clock->NowMicros();
    deadline = onTimeline ? deadline + frameMicros : now + frameMicros;
    onTimeline = true;
}

void FramePacer::FinishFrame()
{
    const uint64_t now = clock->NowMicros();
    if (now >= deadline) {
        onTimeline = false;  // overrun: the next iteration starts now and sets the pace afresh
        clock->Yield();
        return;
    }
    uint64_t wait = deadline - now;
    if (wait > frameMicros) {
        // The clock went back: wait one frame at most and take up the pace from here.
        wait = frameMicros;
        deadline = now + frameMicros;
    }
    clock->SleepMicros(wait);
}

void FramePacer::SetClock(FrameClock& newClock)
{
    clock = &newClock;
    onTimeline = false;
}
