// The round bob of a pendulum or rotor.
#pragma once

#include <box2d/box2d.h>

struct Ball {
    float x = 0.0f;  // centre, world units
    float y = 0.0f;
    float radius = 0.2f;
    b2Body* body = nullptr;
    float density = 20.0f;
    float friction = 0.2f;
    float restitution = 0.2f;

    Ball(float x, float y, b2World* world);

    void CreateBody(b2World* world);
    void SyncPosition();
};
