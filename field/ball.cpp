// The bob of a pendulum or rotor.
#include "field/ball.h"

Ball::Ball(float x, float y, b2World* world) : x(x), y(y)
{
    CreateBody(world);
}

void Ball::CreateBody(b2World* world)
{
    if (world == nullptr) {
        return;
    }
    b2BodyDef bodyDef;
    bodyDef.position.Set(x, y);
    bodyDef.type = b2_dynamicBody;
    bodyDef.bullet = true;
    bodyDef.fixedRotation = false;

    b2CircleShape shape;
    shape.m_radius = radius;

    b2FixtureDef fixtureDef;
    fixtureDef.shape = &shape;
    fixtureDef.density = density;
    fixtureDef.friction = friction;
    fixtureDef.restitution = restitution;

    body = world->CreateBody(&bodyDef);
    body->CreateFixture(&fixtureDef);
}

void Ball::SyncPosition()
{
    if (body == nullptr) {
        return;
    }
    const b2Vec2& position = body->GetPosition();
    x = position.x;
    y = position.y;
}
