// Builds a field body with its one fixture; every record of the field is made this way.
#pragma once

#include <box2d/box2d.h>

// Collision categories. The cannon and the shots never collide: a shot appears at the muzzle,
// where the bigger animals reach into the cannon, and shots piling up there under steady fire
// would otherwise shove the cannon off its pedestal and through the field's edges.
namespace CollisionCategory {
constexpr uint16 Field = 0x0001;
constexpr uint16 Cannon = 0x0002;
constexpr uint16 Shot = 0x0004;
}  // namespace CollisionCategory

struct BodySetup {
    b2Vec2 position{0.0f, 0.0f};  // centre, world units
    b2BodyType type = b2_dynamicBody;
    bool fixedRotation = false;
    bool bullet = false;  // continuous collision also against other moving bodies
    float density = 0.0f;
    float friction = 0.0f;
    float restitution = 0.0f;
    b2Filter filter;  // Box2D's default: category Field, colliding with everything
};

// A body with one fixture of the given shape, or null when there is no world. The world owns
// the body; its user data stays empty until a Map tags it with its record's place.
b2Body* CreateFieldBody(b2World* world, const BodySetup& setup, const b2Shape& shape);

// The square of half side h centred on the body.
b2PolygonShape SquareShape(float halfSize);

// The circle of radius r centred on the body.
b2CircleShape CircleShape(float radius);

// A record's centre (x, y) takes its body's position; without a body it keeps the last one.
void FollowBody(const b2Body* body, float& x, float& y);
