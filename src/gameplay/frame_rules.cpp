// The rules of one frame over a Map: the physics step, contact damage, removals.
#include "gameplay/frame_rules.h"

#include "gameplay/contact_memory.h"
#include "gameplay/muzzle_rules.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace {

constexpr float kHarmfulSpeed = 5.0f;   // units per second; slower hits do no damage
constexpr float kTargetHitLoss = 1.0f;  // a target loses this when an animal touches it, on top of the damage
constexpr int32_t kFallenBelow = 5;     // cells below the field's bottom where a body counts as gone
// Hit points of damage per unit of momentum (mass times units per second), before the animal's
// own factor: a pig (mass 0.377) striking at 40 units per second deals 377, a cow (mass 1.28,
// factor 5) at 20 deals 3200. Soil and ledge blocks hold 1000, bedrock 3000.
constexpr double kHitPointsPerMomentum = 25.0;

// The damage of one impact at `speed`.
float ImpactDamage(const Projectile& projectile, float speed)
{
    if (speed < kHarmfulSpeed) {
        return 0.0f;
    }
    const double damage = static_cast<double>(speed) * static_cast<double>(projectile.damageFactor) *
                          static_cast<double>(projectile.body->GetMass()) * kHitPointsPerMomentum;
    return static_cast<float>(damage);
}

// An animal whose blow broke a block or took a cake, with the share of its speed it keeps.
struct Breaker {
    b2Body* body = nullptr;
    float kept = 1.0f;
};
// By serial, so they are set going in firing order, whatever their bodies' addresses.
using Breakers = std::map<uint64_t, Breaker>;

// The block and the shot of a contact between the two while they touch; neither otherwise.
struct Hit {
    Block* block = nullptr;
    const Projectile* shot = nullptr;
};

Hit ShotOnBlock(Map& map, b2Contact* contact)
{
    if (!contact->IsTouching()) {
        return {};
    }
    b2Body* bodyA = contact->GetFixtureA()->GetBody();
    b2Body* bodyB = contact->GetFixtureB()->GetBody();
    Hit hit{map.FindBlock(bodyA), map.FindProjectile(bodyB)};
    if (hit.block == nullptr || hit.shot == nullptr) {
        hit = Hit{map.FindBlock(bodyB), map.FindProjectile(bodyA)};
    }
    if (hit.block == nullptr || hit.shot == nullptr) {
        return {};
    }
    return hit;
}

// The block takes the damage; a spring is also flung upwards, a target also loses one more point.
void TakeBlow(Block& block, float damage)
{
    switch (block.kind) {
    case BlockKind::Spring:
        block.Launch();
        block.Damage(damage);
        break;
    case BlockKind::Target:
        block.Damage(kTargetHitLoss);
        block.Damage(damage);
        break;
    default:
        block.Damage(damage);
        break;
    }
}

// The animal's own factor makes its blow break more, but the block held out against its
// momentum at face value: the share of its speed that took is spent, the rest kept.
void NoteBreakThrough(Breaker& breaker, const Projectile& shot, float speed, float strengthBefore)
{
    const double momentum = static_cast<double>(shot.body->GetMass()) * static_cast<double>(speed);
    const double held = static_cast<double>(strengthBefore) / (kHitPointsPerMomentum * momentum);
    breaker.body = shot.body;
    breaker.kept *= static_cast<float>(std::clamp(1.0 - held, 0.0, 1.0));
}

// The shot's first touch of the block: the blow at the speed it struck with, before the step or
// after it when the step sped the shot up.
void Strike(Block& block, const Projectile& shot, const ContactMemory& contacts, Breakers& breakers)
{
    const float speed = std::max(contacts.SpeedBefore(shot.body), shot.Speed());
    const float strengthBefore = block.strength;
    TakeBlow(block, ImpactDamage(shot, speed));
    if (strengthBefore > 0.0f && block.strength <= 0.0f) {
        NoteBreakThrough(breakers[shot.serial], shot, speed, strengthBefore);
    }
}

// The step already bounced each animal off the block its blow broke, which the removal pass is
// about to take away: it carries on the way it was going before the step, through the gap, with
// the speed the blow left it.
void SendBreakersThrough(const Breakers& breakers, const ContactMemory& contacts)
{
    for (const auto& [serial, breaker] : breakers) {
        breaker.body->SetLinearVelocity(breaker.kept * contacts.VelocityBefore(breaker.body));
    }
}

}  // namespace

int32_t Rules::RunFrame(Map& map, float timeStep, int32_t velocityIterations, int32_t positionIterations,
                        const std::function<void(const Map&)>& beforeRemoval)
{
    StepPhysics(map, timeStep, velocityIterations, positionIterations);
    UpdateMap(map);
    ApplyContactDamage(map);
    if (beforeRemoval) {
        beforeRemoval(map);
    }
    return RemoveDestroyed(map);
}

void Rules::StepPhysics(Map& map, float timeStep, int32_t velocityIterations, int32_t positionIterations)
{
    // From the speeds the step starts with, whatever changed them since the last one.
    map.UpdateContinuousCollision(timeStep);
    // A shot that strikes something is slowed within the step: its speed from before counts.
    map.KeptMemory<ContactMemory>().NoteVelocities(map.projectiles);
    b2World& world = *map.world;
    world.Step(timeStep, velocityIterations, positionIterations);
    world.ClearForces();
}

void Rules::UpdateMap(Map& map)
{
    map.Update();
    map.ReleaseSeparatedShots();
    SpendBuriedShots(map);
}

void Rules::ApplyContactDamage(Map& map)
{
    // Each impact counts once: in the frame an animal and a block first touch. A shot lying
    // on a block, or pressed against it, costs the block nothing more until the two part.
    ContactMemory& contacts = map.KeptMemory<ContactMemory>();
    std::set<ContactMemory::Pair> touching;
    Breakers breakers;
    for (b2Contact* contact = map.GetContactList(); contact != nullptr && !map.projectiles.empty();
         contact = contact->GetNext()) {
        const Hit hit = ShotOnBlock(map, contact);
        if (hit.block == nullptr) {
            continue;
        }
        const ContactMemory::Pair pair(hit.shot->body, hit.block->body);
        touching.insert(pair);
        if (!contacts.TouchedLastFrame(pair)) {
            Strike(*hit.block, *hit.shot, contacts, breakers);
        }
    }
    contacts.EndFrame(std::move(touching));
    SendBreakersThrough(breakers, contacts);
}

int32_t Rules::RemoveDestroyed(Map& map)
{
    const int32_t fieldHeight = map.GetHeight();
    const float fallenY = static_cast<float>(fieldHeight + kFallenBelow);
    const float thrownY = static_cast<float>(-fieldHeight);
    int32_t targetsLost = 0;

    // The record that moves into a freed place is examined in its turn.
    for (unsigned i = 0; i < map.BlockCount();) {
        const Block& block = map.GetBlock(i);
        if (block.strength <= 0.0f || block.y >= fallenY || block.y <= thrownY) {
            if (block.kind == BlockKind::Target) {
                ++targetsLost;
            }
            map.RemoveBlock(static_cast<int>(i));
        } else {
            ++i;
        }
    }
    for (unsigned i = 0; i < map.ProjectileCount();) {
        const Projectile& projectile = map.GetProjectile(i);
        if (projectile.lifetime <= 0.0f || projectile.y >= fallenY || projectile.y <= thrownY) {
            map.RemoveProjectile(static_cast<int>(i));
        } else {
            ++i;
        }
    }
    return targetsLost;
}
