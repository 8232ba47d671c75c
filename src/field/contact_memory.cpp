// The pairs that touched in the last frame and the velocities shots had before the step.
#include "field/contact_memory.h"

void ContactMemory::NoteVelocity(const b2Body* body, b2Vec2 velocity)
{
    speeds[body] = velocity;
}

b2Vec2 ContactMemory::VelocityBefore(const b2Body* body) const
{
    const auto found = speeds.find(body);
    return found == speeds.end() ? b2Vec2(0.0f, 0.0f) : found->second;
}

float ContactMemory::SpeedBefore(const b2Body* body) const
{
    return VelocityBefore(body).Length();
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
