// Wall-clock pacing of the main loop.
#include "app/frame_pacer.h"

#include <algorithm>
#include <chrono>
#include <thread>

FrameClock::~FrameClock() = default;

void FrameClock::Yield() {}

void FrameClock::Stepped(uint32_t /*steps*/) {}

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

uint32_t FramePacer::StartFrame()
{
    const uint64_t now = clock->NowMicros();
    uint32_t steps = 1;
    if (onTimeline && now > deadline && maxSteps > 1) {
        // Behind by the frames since the last iteration was due to end: those steps too.
        const uint64_t behind = (now - deadline) / frameMicros;
        if (behind > mostFramesBehind) {
            onTimeline = false;  // too far behind: forgotten
        } else {
            steps += static_cast<uint32_t>(std::min<uint64_t>(behind, maxSteps - 1));
        }
    }
    deadline = onTimeline ? deadline + steps * frameMicros : now + frameMicros;
    onTimeline = true;
    clock->Stepped(steps);
    return steps;
}

void FramePacer::FinishFrame()
{
    const uint64_t now = clock->NowMicros();
    if (now >= deadline) {
        // Overrun: the next iteration starts now and sets the pace afresh, or makes up for it.
        onTimeline = maxSteps > 1;
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

void FramePacer::AllowCatchUp(uint32_t steps, uint32_t framesBehind)
{
    maxSteps = std::max<uint32_t>(steps, 1);
    mostFramesBehind = framesBehind;
}

void FramePacer::SetClock(FrameClock& newClock)
{
    clock = &newClock;
    onTimeline = false;
}
