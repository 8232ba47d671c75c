// Firing projectiles and the cow's and sheep's second-click actions.
#include "field/map.h"

namespace {

constexpr float kPigSpread = 0.5f;         // the cow's pigs appear half a unit around it
const b2Vec2 kSheepJolt(0.0f, 300.0f);     // downwards
const b2Vec2 kSheepJoltPoint(0.5f, 0.5f);  // a world point, so the sheep also spins

}  // namespace

std::unique_ptr<Projectile> Map::Fire(float x, float y, b2Vec2 force, int kind)
{
    auto record = std::make_unique<Projectile>(x, y, world.get(), kind);
    // A shot passes through the earlier ones it appears on, however many lie at the muzzle.
    // Only one appearing on a shot made in this same frame is not fired: nobody clicks twice
    // within one frame, so that only holds an auto-clicker's bursts to one shot a frame.
    if (!PassThroughOverlaps(*record)) {
        world->DestroyBody(record->body);
        return nullptr;
    }
    projectiles.push_back(*record);
    TagProjectilesFrom(projectiles.size() - 1);
    // The force acts for one step: the world's forces are cleared after every step.
    record->ApplyForce(force);
    return record;
}

b2Vec2 Map::Muzzle() const
{
    return b2Vec2(cannon->x + Tuning::kMuzzleX, cannon->y + Tuning::kMuzzleY);
}

std::unique_ptr<Projectile> Map::FireFromCannon(b2Vec2 force, int kind)
{
    if (cannon == nullptr) {
        return nullptr;
    }
    const b2Vec2 muzzle = Muzzle();
    return Fire(muzzle.x, muzzle.y, force, kind);
}

bool Map::SolidAt(b2Vec2 centre, float radius)
{
    b2CircleShape circle;
    circle.m_radius = radius;
    const b2Transform where(centre, b2Rot(0.0f));
    struct Query : b2QueryCallback {
        Map* map = nullptr;
        const b2CircleShape* shape = nullptr;
        const b2Transform* transform = nullptr;
        bool found = false;
        bool ReportFixture(b2Fixture* fixture) override
        {
            const b2Body* body = fixture->GetBody();
            if (map->FindProjectile(body) != nullptr ||
                !b2TestOverlap(shape, 0, fixture->GetShape(), 0, *transform, body->GetTransform())) {
                return true;  // look on
            }
            found = true;
            return false;
        }
    } query;
    query.map = this;
    query.shape = &circle;
    query.transform = &where;
    b2AABB box;
    circle.ComputeAABB(&box, where, 0);
    world->QueryAABB(&query, box);
    return query.found;
}

void Map::ProjectileAction(const Projectile* record)
{
    if (record == nullptr) {
        return;
    }
    // A projectile that has already left the field has no body any more, and Box2D may have
    // given its body's address to a later shot: only the very shot the record was made for,
    // still in the list, is touched.
    const Projectile* live = FindProjectile(record->body);
    if (live == nullptr || live->serial != record->serial) {
        return;
    }
    b2Body* body = live->body;
    if (record->kind == ProjectileKind::Cow) {
        // The cow splits where it is now. Each pig is pushed for one step by a force as large as
        // the cow's velocity, barely a nudge of its own; the cow it overlaps shoves it along.
        // A pig whose place would lie in a block, the cannon or a wall bursts out of the cow's
        // middle instead: nothing pushes a pig back out of a cannon wedged against a wall. All
        // three appear wherever the cow is: pigs sharing the middle pass through one another
        // and drift apart like any shots fired on top of one another.
        const b2Vec2 velocity = body->GetLinearVelocity();
        const b2Vec2 position = body->GetPosition();
        const b2Vec2 spots[] = {b2Vec2(kPigSpread, 0.0f), b2Vec2(-kPigSpread, 0.0f),
                                b2Vec2(0.0f, -kPigSpread)};
        splitting = true;
        for (const b2Vec2& offset : spots) {
            const b2Vec2 spot = position + offset;
            const b2Vec2 place = SolidAt(spot, Projectile::SizeOf(ProjectileKind::Pig)) ? position : spot;
            Fire(place.x, place.y, velocity, ProjectileKind::Pig);
        }
        splitting = false;
        overlaps->Release(body);  // the pigs burst out of the cow and push it aside
    } else if (record->kind == ProjectileKind::Sheep) {
        body->ApplyLinearImpulse(kSheepJolt, kSheepJoltPoint, true);
    }
}
