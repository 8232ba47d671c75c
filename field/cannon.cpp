// The cannon's body.
#include "field/cannon.h"

#include "field/body_factory.h"

Cannon::Cannon(float x, float y, b2World* world) : x(x), y(y)
{
    CreateBody(world);
}

void Cannon::CreateBody(b2World* world)
{
    BodySpec spec;
    spec.position.Set(x, y);
    spec.type = b2_dynamicBody;  // it falls onto its pedestal and can be knocked off
    spec.fixedRotation = fixedRotation;
    spec.density = density;
    spec.friction = friction;
    spec.restitution = restitution;
    body = CreateFieldBody(world, spec, SquareShape(halfSize));
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
