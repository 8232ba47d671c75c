// Firing projectiles and the cow's and sheep's second-click actions.
#include "gameplay/firing_rules.h"

#include <vector>

namespace {

constexpr float kPigSpread = 0.5f;         // the cow's pigs appear half a unit around it
const b2Vec2 kSheepJolt(0.0f, 300.0f);     // downwards
const b2Vec2 kSheepJoltPoint(0.5f, 0.5f);  // a world point, so the sheep also spins

// Who fires: the player, or a cow splitting. A cow's pigs spend nothing they appear on, and are
// not held to one shot a frame among themselves: pigs whose places are solid share its middle.
enum class Firer { Player, SplittingCow };

// Lets the new shot through every earlier one it overlaps, and spends those lying still there.
// False, and nothing changed, when one of those was made in this frame and has not yet been
// stepped (its lifetime is still whole), unless a splitting cow fires: all three pigs appear.
bool PassThroughOverlaps(Map& map, const Projectile& shot, Firer firer)
{
    std::vector<size_t> overlapped;  // places in the list, in firing order
    for (size_t i = 0; i < map.projectiles.size(); ++i) {
        const Projectile& earlier = map.projectiles[i];
        if (earlier.body != nullptr && earlier.body != shot.body &&
            ShotOverlaps::Overlap(shot.body, earlier.body)) {
            if (earlier.lifetime >= kProjectileLifetime && firer == Firer::Player) {
                return false;
            }
            overlapped.push_back(i);
        }
    }
    for (const size_t i : overlapped) {
        Projectile& earlier = map.projectiles[i];
        map.Overlaps().Add(shot.body, shot.serial, earlier.body, earlier.serial);
        // A shot lying still at the spot gives its place up to the new one at once.
        if (firer == Firer::Player && earlier.Speed() < Rules::kLyingSpeed &&
            earlier.lifetime < kProjectileLifetime - Rules::kLyingFrames) {
            earlier.lifetime = 0.0f;
        }
    }
    return true;
}

std::unique_ptr<Projectile> FireAs(Map& map, float x, float y, b2Vec2 force, int kind, Firer firer)
{
    auto record = std::make_unique<Projectile>(x, y, map.world.get(), kind);
    if (record->body != nullptr && !PassThroughOverlaps(map, *record, firer)) {
        map.world->DestroyBody(record->body);
        return nullptr;
    }
    map.AddProjectile(*record);
    // The force acts for one step: the world's forces are cleared after every step.
    record->ApplyForce(force);
    return record;
}

// The cow splits where it is now. Each pig is pushed for one step by a force as large as the
// cow's velocity, barely a nudge of its own; the cow it overlaps shoves it along. A pig whose
// place would lie in a block, the cannon or a wall bursts out of the cow's middle instead:
// nothing pushes a pig back out of a cannon wedged against a wall. All three appear wherever the
// cow is: pigs sharing the middle pass through one another and drift apart like any shots fired
// on top of one another.
void SplitCow(Map& map, b2Body* cow)
{
    const b2Vec2 velocity = cow->GetLinearVelocity();
    const b2Vec2 position = cow->GetPosition();
    const b2Vec2 spots[] = {b2Vec2(kPigSpread, 0.0f), b2Vec2(-kPigSpread, 0.0f), b2Vec2(0.0f, -kPigSpread)};
    for (const b2Vec2& offset : spots) {
        const b2Vec2 spot = position + offset;
        const b2Vec2 place = map.SolidAt(spot, Projectile::SizeOf(ProjectileKind::Pig)) ? position : spot;
        FireAs(map, place.x, place.y, velocity, ProjectileKind::Pig, Firer::SplittingCow);
    }
    map.Overlaps().Release(cow);  // the pigs burst out of the cow and push it aside
}

}  // namespace

std::unique_ptr<Projectile> Rules::Fire(Map& map, float x, float y, b2Vec2 force, int kind)
{
    return FireAs(map, x, y, force, kind, Firer::Player);
}

std::unique_ptr<Projectile> Rules::FireFromCannon(Map& map, b2Vec2 force, int kind)
{
    if (map.GetCannon() == nullptr) {
        return nullptr;
    }
    const b2Vec2 muzzle = map.Muzzle();
    return Fire(map, muzzle.x, muzzle.y, force, kind);
}

void Rules::ProjectileAction(Map& map, const Projectile* record)
{
    if (record == nullptr) {
        return;
    }
    // A projectile that has already left the field has no body any more, and Box2D may have
    // given its body's address to a later shot: only the very shot the record was made for,
    // still in the list, is touched.
    const Projectile* live = map.FindProjectile(record->body);
    if (live == nullptr || live->serial != record->serial) {
        return;
    }
    if (record->kind == ProjectileKind::Cow) {
        SplitCow(map, live->body);
    } else if (record->kind == ProjectileKind::Sheep) {
        live->body->ApplyLinearImpulse(kSheepJolt, kSheepJoltPoint, true);
    }
}
