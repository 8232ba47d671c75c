// The bob of a pendulum or rotor.
#include "field/ball.h"

#include "field/body_factory.h"

Ball::Ball(float x, float y, b2World* world) : x(x), y(y)
{
    CreateBody(world);
}

void Ball::CreateBody(b2World* world)
{
    BodySpec spec;
    spec.position.Set(x, y);
    spec.type = b2_dynamicBody;
    spec.bullet = true;
    spec.fixedRotation = false;
    spec.density = density;
    spec.friction = friction;
    spec.restitution = restitution;
    body = CreateFieldBody(world, spec, CircleShape(radius));
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
