// The bob of a pendulum or rotor.
#include "field/ball.h"

#include "field/body_factory.h"

Ball::Ball(float x, float y, b2World* world) : x(x), y(y)
{
    CreateBody(world);
}

void Ball::CreateBody(b2World* world)
{
    BodySetup setup;
    setup.position.Set(x, y);
    setup.type = b2_dynamicBody;
    setup.bullet = true;
    setup.fixedRotation = false;
    setup.density = density;
    setup.friction = friction;
    setup.restitution = restitution;
    body = CreateFieldBody(world, setup, CircleShape(radius));
}

void Ball::SyncPosition()
{
    FollowBody(body, x, y);
}
