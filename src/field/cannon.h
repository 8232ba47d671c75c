// The launcher: a box on its pedestal that the Map runs on a rail down its column.
#pragma once

#include <box2d/box2d.h>

struct Cannon {
    float x = 0.0f;  // centre, world units; the muzzle is derived from it
    float y = 0.0f;
    float halfSize = 0.45f;
    b2Body* body = nullptr;
    bool fixedRotation = true;
    float density = 10.0f;
    float friction = 1.0f;
    float restitution = 0.5f;

    Cannon(float x, float y, b2World* world);

    void CreateBody(b2World* world);
    void SyncPosition();
};
