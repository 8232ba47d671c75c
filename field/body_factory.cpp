// Field bodies: one body, one fixture.
#include "field/body_factory.h"

b2Body* CreateFieldBody(b2World* world, const BodySpec& spec, const b2Shape& shape)
{
    if (world == nullptr) {
        return nullptr;
    }
    b2BodyDef bodyDef;
    bodyDef.position = spec.position;
    bodyDef.type = spec.type;
    bodyDef.fixedRotation = spec.fixedRotation;
    bodyDef.bullet = spec.bullet;

    b2FixtureDef fixtureDef;
    fixtureDef.shape = &shape;
    fixtureDef.density = spec.density;
    fixtureDef.friction = spec.friction;
    fixtureDef.restitution = spec.restitution;

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
