// The rules of one frame over a Map: the physics step, contact damage, removals.
#include "gameplay/frame_rules.h"

namespace {

constexpr float kHarmfulSpeed = 5.0f;   // units per second; slower hits do no damage
constexpr float kTargetHitLoss = 1.0f;  // a target loses this on every hit, on top of the damage
constexpr int32_t kFallenBelow = 5;     // cells below the field's bottom where a body counts as gone
// Momentum (mass times units per second) per hit point of damage, before the projectile's own
// factor: a pig (mass 0.38) striking at 100 units per second deals 0.38.
constexpr double kMomentumPerHitPoint = 100.0;

// The impact damage a projectile deals at its current speed.
float ImpactDamage(const Projectile& projectile)
{
    const float speed = projectile.Speed();
    if (speed < kHarmfulSpeed) {
        return 0.0f;
    }
    const double damage = static_cast<double>(speed) * static_cast<double>(projectile.damageFactor) *
                          static_cast<double>(projectile.body->GetMass()) / kMomentumPerHitPoint;
    return static_cast<float>(damage);
}

}  // namespace

void Rules::StepPhysics(Map& map, float timeStep, int32_t velocityIterations, int32_t positionIterations)
{
    // From the speeds the step starts with, whatever changed them since the last one.
    map.UpdateContinuousCollision(timeStep);
    b2World& world = *map.world;
    world.Step(timeStep, velocityIterations, positionIterations);
    world.ClearForces();
}

void Rules::UpdateMap(Map& map)
{
    map.Update();
    map.ReleaseSeparatedShots();
}

void Rules::ApplyContactDamage(Map& map)
{
    if (map.projectiles.empty()) {
        return;
    }
    // Every touching contact once; only a block struck by a projectile counts.
    for (b2Contact* contact = map.GetContactList(); contact != nullptr; contact = contact->GetNext()) {
        if (!contact->IsTouching()) {
            continue;
        }
        b2Body* bodyA = contact->GetFixtureA()->GetBody();
        b2Body* bodyB = contact->GetFixtureB()->GetBody();
        Block* block = map.FindBlock(bodyA);
        const Projectile* projectile = map.FindProjectile(bodyB);
        if (block == nullptr || projectile == nullptr) {
            block = map.FindBlock(bodyB);
            projectile = map.FindProjectile(bodyA);
        }
        if (block == nullptr || projectile == nullptr) {
            continue;
        }
        const float damage = ImpactDamage(*projectile);
        switch (block->kind) {
        case BlockKind::Spring:
            block->Launch();
            block->Damage(damage);
            break;
        case BlockKind::Target:
            block->Damage(kTargetHitLoss);
            block->Damage(damage);
            break;
        default:
            block->Damage(damage);
            break;
        }
    }
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
