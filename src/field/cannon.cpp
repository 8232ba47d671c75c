// The cannon's body.
#include "field/cannon.h"

#include "field/body_factory.h"

Cannon::Cannon(float x, float y, b2World* world) : x(x), y(y)
{
    CreateBody(world);
}

void Cannon::CreateBody(b2World* world)
{
    BodySetup setup;
    setup.position.Set(x, y);
    // Dynamic, so it settles onto its pedestal and sinks as its column goes. On the Map's rail
    // (Map::AddCannonRail) it only moves up and down its column, never above where it started.
    setup.type = b2_dynamicBody;
    setup.fixedRotation = fixedRotation;
    setup.density = density;
    setup.friction = friction;
    setup.restitution = restitution;
    setup.filter.categoryBits = CollisionCategory::Cannon;
    setup.filter.maskBits = static_cast<uint16>(~CollisionCategory::Shot);  // shots pass through it
    body = CreateFieldBody(world, setup, SquareShape(halfSize));
}

void Cannon::SyncPosition()
{
    FollowBody(body, x, y);
}
