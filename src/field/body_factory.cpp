// Field bodies: one body, one fixture.
#include "field/body_factory.h"

b2Body* CreateFieldBody(b2World* world, const BodySetup& setup, const b2Shape& shape)
{
    if (world == nullptr) {
        return nullptr;
    }
    b2BodyDef bodyDef;
    bodyDef.position = setup.position;
    bodyDef.type = setup.type;
    bodyDef.fixedRotation = setup.fixedRotation;
    bodyDef.bullet = setup.bullet;

    b2FixtureDef fixtureDef;
    fixtureDef.shape = &shape;
    fixtureDef.density = setup.density;
    fixtureDef.friction = setup.friction;
    fixtureDef.restitution = setup.restitution;
    fixtureDef.filter = setup.filter;

    b2Body* body = world->CreateBody(&bodyDef);
    body->CreateFixture(&fixtureDef);
    return body;
}

b2PolygonShape SquareShape(float halfSize)
{
    b2PolygonShape shape;
    shape.SetAsBox(halfSize, halfSize);
    return shape;
}

b2CircleShape CircleShape(float radius)
{
    b2CircleShape shape;
    shape.m_radius = radius;
    return shape;
}

void FollowBody(const b2Body* body, float& x, float& y)
{
    if (body == nullptr) {
        return;
    }
    const b2Vec2& position = body->GetPosition();
    x = position.x;
    y = position.y;
}
