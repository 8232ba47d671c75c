// Wall-clock pacing of the main loop.
#include "app/frame_pacer.h"

#include <chrono>
#include <thread>

FrameClock::~FrameClock() = default;

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
    frameStart = clock->NowMicros();
}

void FramePacer::FinishFrame()
{
    const uint64_t now = clock->NowMicros();
    const uint64_t elapsed = now >= frameStart ? now - frameStart : 0;
    if (elapsed < frameMicros) {
        clock->SleepMicros(frameMicros - elapsed);
    }
}

void FramePacer::SetClock(FrameClock& newClock)
{
    clock = &newClock;
}
