// The field's world, its factories, removal and per-frame refresh.
#include "field/map.h"

namespace {

constexpr float kBobDrop = 1.0f;  // a pendulum's or rotor's ball hangs one unit below its anchor
constexpr float kFloorDrop = 0.5f;  // the floor lies half a cell below the bottom row
constexpr float kRotorSpeed = 2.0f;      // radians per second
constexpr float kRotorTorque = 100.0f;

}  // namespace

Map::Map(int width, int height, b2Vec2 gravity, bool doSleep) : width(width), height(height)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    CreateWorld(gravity, doSleep);
    AddEdge(b2Vec2(0.0f, 0.0f), b2Vec2(0.0f, h));  // left wall
    AddEdge(b2Vec2(w, 0.0f), b2Vec2(w, h));        // right wall
    AddEdge(b2Vec2(0.0f, h + kFloorDrop), b2Vec2(w, h + kFloorDrop));  // floor; no top edge
}

void Map::CreateWorld(b2Vec2 gravity, bool doSleep)
{
    world = std::make_shared<b2World>(gravity);
    world->SetAllowSleeping(doSleep);
}

void Map::AddEdge(b2Vec2 start, b2Vec2 end)
{
    if (!world) {
        return;
    }
    b2BodyDef bodyDef;
    b2Body* edgeBody = world->CreateBody(&bodyDef);
    b2EdgeShape shape;
    shape.SetTwoSided(start, end);
    edgeBody->CreateFixture(&shape, 0.0f);
}

void Map::AddBlock(float x, float y, int kind)
{
    blocks.push_back(Block(x, y, kind, world.get()));
}

void Map::AddCannon(float x, float y)
{
    cannon = std::make_shared<Cannon>(x, y, world.get());
}

void Map::AddPendulum(float x, float y)
{
    Block anchor(x, y, BlockKind::Anchor, world.get());
    Ball bob(x, y + kBobDrop, world.get());
    AddDistanceJoint(anchor.body, bob.body);
    blocks.push_back(anchor);
    balls.push_back(bob);
}

void Map::AddRotor(float x, float y)
{
    Block anchor(x, y, BlockKind::Anchor, world.get());
    Ball bob(x, y + kBobDrop, world.get());
    AddRevoluteJoint(anchor.body, bob.body);
    blocks.push_back(anchor);
    balls.push_back(bob);
}

void Map::AddDistanceJoint(b2Body* a, b2Body* b)
{
    if (a == nullptr || b == nullptr) {
        return;
    }
    b2DistanceJointDef jointDef;
    jointDef.Initialize(a, b, a->GetWorldCenter(), b->GetWorldCenter());
    jointDef.collideConnected = true;
    jointDef.length = 1.0f;
    jointDef.minLength = 1.0f;
    jointDef.maxLength = 1.0f;
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
    if (body == nullptr) {
        return nullptr;
    }
    for (Projectile& projectile : projectiles) {
        if (projectile.body == body) {
            return &projectile;
        }
    }
    return nullptr;
}
