// The pairs that touched in the last frame and the speeds shots had before the step.
#include "field/contact_memory.h"

void ContactMemory::NoteSpeed(const b2Body* body, float speed)
{
    speeds[body] = speed;
}

float ContactMemory::SpeedBefore(const b2Body* body) const
{
    const auto found = speeds.find(body);
    return found == speeds.end() ? 0.0f : found->second;
}

void ContactMemory::ForgetSpeeds()
{
    speeds.clear();
}

bool ContactMemory::TouchedLastFrame(const Pair& pair) const
{
    return touching.count(pair) != 0;
}

void ContactMemory::EndFrame(std::set<Pair> touchingNow)
{
    touching = std::move(touchingNow);
}

void ContactMemory::Forget(const b2Body* body)
{
    speeds.erase(body);
    std::erase_if(touching, [body](const Pair& pair) { return pair.first == body || pair.second == body; });
}
