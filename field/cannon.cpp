// The cannon's body.
#include "field/cannon.h"

Cannon::Cannon(float x, float y, b2World* world) : x(x), y(y)
{
    CreateBody(world);
}

void Cannon::CreateBody(b2World* world)
{
    if (world == nullptr) {
        return;
    }
    b2BodyDef bodyDef;
    bodyDef.position.Set(x, y);
    bodyDef.type = b2_dynamicBody;
    bodyDef.fixedRotation = fixedRotation;

    b2PolygonShape shape;
    shape.SetAsBox(halfSize, halfSize);

    b2FixtureDef fixtureDef;
    fixtureDef.shape = &shape;
    fixtureDef.density = density;
    fixtureDef.friction = friction;
    fixtureDef.restitution = restitution;

    body = world->CreateBody(&bodyDef);
    body->CreateFixture(&fixtureDef);
}

void Cannon::SyncPosition()
{
    if (body == nullptr) {
        return;
    }
    const b2Vec2& position = body->GetPosition();
    x = position.x;
    y = position.y;
}
