// The field's world, its factories, removal and per-frame refresh.
#include "field/map.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr float kBobDrop = 1.0f;        // a pendulum's or rotor's ball hangs one unit below its anchor
constexpr float kRodLength = kBobDrop;  // units: a pendulum's rod spans the drop, centre to centre
constexpr float kFloorDrop = 0.5f;      // the floor lies half a cell below the bottom row
constexpr float kRotorSpeed = 2.0f;     // radians per second
constexpr float kRotorTorque = 100.0f;

// A body's user data: its record's place, shifted past the list code in the low two bits.
// Zero marks a body made outside the Map, whose record can only be found by searching.
enum class BodyList : uintptr_t { Unknown = 0, Block = 1, Projectile = 2, Other = 3 };
constexpr uintptr_t kListBits = 2;
constexpr uintptr_t kListMask = (uintptr_t{1} << kListBits) - 1;

void Tag(b2Body* body, BodyList list, size_t index = 0)
{
    if (body != nullptr) {
        const uintptr_t place = static_cast<uintptr_t>(index) << kListBits;
        body->GetUserData().pointer = place | static_cast<uintptr_t>(list);
    }
}

// Tags records[first..] with their places. A body that already points at an earlier record of
// the same list keeps it, so the first record in list order is the one found.
template <typename Record>
void TagFrom(std::vector<Record>& records, size_t first, BodyList list)
{
    for (size_t i = first; i < records.size(); ++i) {
        b2Body* body = records[i].body;
        if (body == nullptr) {
            continue;
        }
        const uintptr_t tag = body->GetUserData().pointer;
        const size_t earlier = static_cast<size_t>(tag >> kListBits);
        const bool sameList = (tag & kListMask) == static_cast<uintptr_t>(list);
        if (sameList && earlier < i && records[earlier].body == body) {
            continue;
        }
        Tag(body, list, i);
    }
}

// The record that owns the body: straight from the tag when it still holds, by a search in list
// order when the list was changed behind the Map's back (or by a copy of the Map sharing the
// body), and none at all for a body of another list.
template <typename Record>
Record* FindRecord(std::vector<Record>& records, const b2Body* body, BodyList list)
{
    if (body == nullptr) {
        return nullptr;
    }
    // Box2D 2.4 has no const accessor for user data; it is only read here.
    const uintptr_t tag = const_cast<b2Body*>(body)->GetUserData().pointer;
    const uintptr_t tagList = tag & kListMask;
    if (tagList == static_cast<uintptr_t>(list)) {
        const size_t index = static_cast<size_t>(tag >> kListBits);
        if (index < records.size() && records[index].body == body) {
            return &records[index];
        }
    } else if (tagList != static_cast<uintptr_t>(BodyList::Unknown)) {
        return nullptr;
    }
    for (Record& record : records) {
        if (record.body == body) {
            return &record;
        }
    }
    return nullptr;
}

}  // namespace

Map::Map(int width, int height, b2Vec2 gravity, bool doSleep) : width(width), height(height)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    CreateWorld(gravity, doSleep);
    leftWall = AddEdge(b2Vec2(0.0f, 0.0f), b2Vec2(0.0f, h));           // left wall
    AddEdge(b2Vec2(w, 0.0f), b2Vec2(w, h));                            // right wall
    AddEdge(b2Vec2(0.0f, h + kFloorDrop), b2Vec2(w, h + kFloorDrop));  // floor; no top edge
}

void Map::CreateWorld(b2Vec2 gravity, bool doSleep)
{
    farewells = std::make_shared<BodyFarewells>();
    overlaps = std::make_shared<ShotOverlaps>();
    farewells->Keep(overlaps);
    // The world holds on to its listener, which keeps the filter: both outlive it in every copy of
    // the Map.
    world = std::shared_ptr<b2World>(new b2World(gravity), [listener = farewells](b2World* w) { delete w; });
    world->SetAllowSleeping(doSleep);
    world->SetContactFilter(overlaps.get());
    world->SetDestructionListener(farewells.get());
}

b2Body* Map::AddEdge(b2Vec2 start, b2Vec2 end)
{
    b2BodyDef bodyDef;
    b2Body* edgeBody = world->CreateBody(&bodyDef);
    b2EdgeShape shape;
    shape.SetTwoSided(start, end);
    edgeBody->CreateFixture(&shape, 0.0f);
    Tag(edgeBody, BodyList::Other);
    return edgeBody;
}

void Map::AddBlock(float x, float y, int kind)
{
    blocks.push_back(Block(x, y, kind, world.get()));
    TagBlocksFrom(blocks.size() - 1);
}

void Map::AddCannon(float x, float y)
{
    cannon = std::make_shared<Cannon>(x, y, world.get());
    Tag(cannon->body, BodyList::Other);
    AddCannonRail(cannon->body);
}

void Map::AddCannonRail(b2Body* body)
{
    if (leftWall == nullptr || body == nullptr) {
        return;
    }
    // The cannon stays in its column: it settles with whatever it stands on, down to the floor
    // at the lowest, but nothing knocks it sideways or throws it above the spot it started from.
    // The column under it is held with it: a block driven up from below stops at the cannon.
    b2PrismaticJointDef rail;
    rail.Initialize(leftWall, body, body->GetPosition(), b2Vec2(0.0f, 1.0f));  // down the screen
    rail.enableLimit = true;
    rail.lowerTranslation = 0.0f;
    rail.upperTranslation = static_cast<float>(height) + kFloorDrop - body->GetPosition().y;
    world->CreateJoint(&rail);
}

void Map::AddPendulum(float x, float y)
{
    AddSwing(x, y, &Map::AddDistanceJoint);
}

void Map::AddRotor(float x, float y)
{
    AddSwing(x, y, &Map::AddRevoluteJoint);
}

void Map::AddSwing(float x, float y, void (Map::*join)(b2Body*, b2Body*))
{
    Block anchor(x, y, BlockKind::Anchor, world.get());
    Ball bob(x, y + kBobDrop, world.get());
    (this->*join)(anchor.body, bob.body);
    blocks.push_back(anchor);
    balls.push_back(bob);
    TagBlocksFrom(blocks.size() - 1);
    Tag(bob.body, BodyList::Other);
}

void Map::AddDistanceJoint(b2Body* a, b2Body* b)
{
    if (a == nullptr || b == nullptr) {
        return;
    }
    b2DistanceJointDef jointDef;
    jointDef.Initialize(a, b, a->GetWorldCenter(), b->GetWorldCenter());
    jointDef.collideConnected = true;
    jointDef.length = kRodLength;
    jointDef.minLength = kRodLength;
    jointDef.maxLength = kRodLength;
    jointDef.stiffness = 0.0f;  // a rigid rod
    jointDef.damping = 0.0f;
    world->CreateJoint(&jointDef);
}

void Map::AddRevoluteJoint(b2Body* a, b2Body* b)
{
    if (a == nullptr || b == nullptr) {
        return;
    }
    const b2Vec2 anchor = a->GetWorldPoint(b2Vec2(0.0f, 0.0f));
    b2RevoluteJointDef jointDef;
    jointDef.Initialize(a, b, anchor);
    jointDef.collideConnected = false;
    jointDef.enableMotor = true;
    jointDef.motorSpeed = kRotorSpeed;
    jointDef.maxMotorTorque = kRotorTorque;
    world->CreateJoint(&jointDef);
}

void Map::RemoveBlock(int index)
{
    Block& block = blocks[static_cast<size_t>(index)];
    if (block.body != nullptr) {
        world->DestroyBody(block.body);  // also destroys its joints
    }
    blocks.erase(blocks.begin() + index);
    TagBlocksFrom(static_cast<size_t>(index));
}

void Map::RemoveProjectile(int index)
{
    Projectile& projectile = projectiles[static_cast<size_t>(index)];
    if (projectile.body != nullptr) {
        world->DestroyBody(projectile.body);
    }
    // Erasing drops the list's hold on the picture; it is freed unless a launch record
    // still shares it.
    projectiles.erase(projectiles.begin() + index);
    TagProjectilesFrom(static_cast<size_t>(index));
}

void Map::TagBlocksFrom(size_t first)
{
    TagFrom(blocks, first, BodyList::Block);
}

void Map::TagProjectilesFrom(size_t first)
{
    TagFrom(projectiles, first, BodyList::Projectile);
}

void Map::Update()
{
    for (Block& block : blocks) {
        block.SyncPosition();
    }
    for (Projectile& projectile : projectiles) {
        projectile.Update();
    }
    for (Ball& ball : balls) {
        ball.SyncPosition();
    }
    if (cannon) {
        cannon->SyncPosition();
    }
}

Block& Map::GetBlock(unsigned i)
{
    return blocks[i];
}

unsigned Map::BlockCount() const
{
    return static_cast<unsigned>(blocks.size());
}

Projectile& Map::GetProjectile(unsigned i)
{
    return projectiles[i];
}

unsigned Map::ProjectileCount() const
{
    return static_cast<unsigned>(projectiles.size());
}

Ball& Map::GetBall(unsigned i)
{
    return balls[i];
}

unsigned Map::BallCount() const
{
    return static_cast<unsigned>(balls.size());
}

Cannon* Map::GetCannon() const
{
    return cannon.get();
}

int Map::GetWidth() const
{
    return width;
}

int Map::GetHeight() const
{
    return height;
}

b2Contact* Map::GetContactList() const
{
    return world ? world->GetContactList() : nullptr;
}

Projectile* Map::FindProjectile(const b2Body* body)
{
    return FindRecord(projectiles, body, BodyList::Projectile);
}

Block* Map::FindBlock(const b2Body* body)
{
    return FindRecord(blocks, body, BodyList::Block);
}

void Map::UpdateContinuousCollision(float timeStep)
{
    std::vector<std::pair<float, b2Body*>> bullets;  // how far past its own size it goes in a step
    for (Projectile& projectile : projectiles) {
        projectile.UpdateContinuousCollision(timeStep);
        if (projectile.body != nullptr && projectile.body->IsBullet()) {
            bullets.emplace_back(projectile.Speed() * timeStep / projectile.size, projectile.body);
        }
    }
    // A heap of shots falling or thrown together would all need it at once, and Box2D's
    // time-of-impact solver grows worse than quadratically with them: only the fastest keep it.
    if (bullets.size() > kMostBullets) {
        std::stable_sort(bullets.begin(), bullets.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (size_t i = kMostBullets; i < bullets.size(); ++i) {
            bullets[i].second->SetBullet(false);
        }
    }
}

void Map::ReleaseSeparatedShots()
{
    overlaps->ReleaseSeparated();
}

b2Vec2 Map::Muzzle() const
{
    return b2Vec2(cannon->x + Tuning::kMuzzleX, cannon->y + Tuning::kMuzzleY);
}

void Map::AddProjectile(const Projectile& shot)
{
    projectiles.push_back(shot);
    TagProjectilesFrom(projectiles.size() - 1);
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

ShotOverlaps& Map::Overlaps()
{
    return *overlaps;
}
