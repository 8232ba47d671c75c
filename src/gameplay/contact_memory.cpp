// The pairs that touched in the last frame and the velocities shots had before the step.
#include "gameplay/contact_memory.h"

void ContactMemory::NoteVelocities(const std::vector<Projectile>& shots)
{
    velocitiesBefore.clear();
    for (const Projectile& shot : shots) {
        velocitiesBefore[shot.body] = shot.body->GetLinearVelocity();
    }
}

b2Vec2 ContactMemory::VelocityBefore(const b2Body* body) const
{
    const auto found = velocitiesBefore.find(body);
    return found == velocitiesBefore.end() ? b2Vec2(0.0f, 0.0f) : found->second;
}

float ContactMemory::SpeedBefore(const b2Body* body) const
{
    return VelocityBefore(body).Length();
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
    std::erase_if(touching, [body](const Pair& pair) { return pair.first == body || pair.second == body; });
}
