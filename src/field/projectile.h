// A fired animal (or bullet): its own picture, its own body, its kind's constants.
#pragma once

#include "field/tuning.h"

#include <SDL.h>
#include <box2d/box2d.h>

#include <cstdint>
#include <memory>

namespace ProjectileKind {
constexpr int Pig = 0;
constexpr int Cow = 1;
constexpr int Sheep = 2;
constexpr int LightSheep = 3;
// Every other value is a bullet.
}  // namespace ProjectileKind

// Frames a projectile stays in the field: one time step per frame.
constexpr float kProjectileLifetime = Tuning::kProjectileSeconds / Tuning::kTimeStep;

// The shots' pictures (pig, cow, sheep, bullet), read from disk once at start-up and shared by
// every shot of their kind; a picture that did not load leaves its shots undrawn. Each picture
// is freed when the last shot holding it has gone after Release.
namespace ShotPictures {
void Load();
void Release();
}  // namespace ShotPictures

// A plain value record: copies share the body (owned by the world) and the picture.
struct Projectile {
    float x = 0.0f;  // centre, world units
    float y = 0.0f;
    int32_t kind = 0;
    float damageFactor = 0.0f;
    float lifetime = kProjectileLifetime;  // frames left
    std::shared_ptr<SDL_Surface> sprite;
    float size = 0.0f;  // radius, or the cow's half side; also the drawing offset
    b2Body* body = nullptr;
    float density = 0.0f;
    float friction = 0.0f;
    float restitution = 0.0f;
    // Tells this shot from any later one, also when a later body takes its old body's address;
    // every copy of a record carries it.
    uint64_t serial = 0;
    // Frames in a row this shot has lain drawn deep inside another shot or over the cannon's middle.
    int buriedFrames = 0;

    Projectile(float x, float y, b2World* world, int kind);
    // The size of a shot of this kind.
    static float SizeOf(int kind);

    void CreateBody(b2World* world);
    void ApplyForce(b2Vec2 force);
    // Takes the body's position and counts one frame off the lifetime.
    void Update();
    // Units per second.
    float Speed() const;
    // Continuous collision (a bullet body) for the coming step of timeStep seconds only while
    // the shot moves more than half its size in one; slower, it cannot pass through anything.
    void UpdateContinuousCollision(float timeStep);
};

// How deep two shots lie in one another, in units, each taken as the circle of its size (the
// cow's inner circle); 0 or less when they are apart.
float OverlapDepth(const Projectile& a, const Projectile& b);
