// Projectile kinds and their bodies.
#include "gameplay/projectile.h"

#include "app/cimage.h"
#include "field/body_factory.h"

#include <cmath>

Projectile::Projectile(float x, float y, b2World* world, int kind) : x(x), y(y), kind(kind)
{
    lifetime = kProjectileLifetime;

    const char* path = "./bmp/bullet.bmp";
    switch (kind) {
    case ProjectileKind::Pig:
        path = "./bmp/pig.bmp";
        damageFactor = 1.0f;
        size = 0.2f;
        density = 3.0f;
        friction = 0.5f;
        restitution = 0.5f;
        break;
    case ProjectileKind::Cow:
        path = "./bmp/vaca.bmp";
        damageFactor = 5.0f;
        size = 0.4f;
        density = 2.0f;
        friction = 1.0f;
        restitution = 0.2f;
        break;
    case ProjectileKind::Sheep:
        path = "./bmp/ovelha.bmp";
        damageFactor = 2.0f;
        size = 0.3f;
        density = 3.0f;
        friction = 0.5f;
        restitution = 0.6f;
        break;
    case ProjectileKind::LightSheep:
        path = "./bmp/ovelha.bmp";
        damageFactor = 2.0f;
        size = 0.1f;
        density = 1.0f;
        friction = 0.5f;
        restitution = 0.6f;
        break;
    default:  // bullet
        damageFactor = 2.0f;
        size = 0.2f;
        density = 3.0f;
        friction = 0.5f;
        restitution = 0.8f;
        break;
    }
    // Each shot loads its own copy of the picture.
    sprite = std::shared_ptr<SDL_Surface>(CImage::Load(path), SDL_FreeSurface);
    CImage::SetTransparent(sprite.get(), 255, 0, 255);
    CreateBody(world);
}

void Projectile::CreateBody(b2World* world)
{
    BodySpec spec;
    spec.position.Set(x, y);
    spec.type = b2_dynamicBody;
    spec.bullet = true;
    spec.fixedRotation = kind == ProjectileKind::Cow;  // the cow's square stays upright
    spec.density = density;
    spec.friction = friction;
    spec.restitution = restitution;
    if (kind == ProjectileKind::Cow) {
        body = CreateFieldBody(world, spec, SquareShape(size));
    } else {
        body = CreateFieldBody(world, spec, CircleShape(size));
    }
}

void Projectile::ApplyForce(b2Vec2 force)
{
    if (body != nullptr) {
        body->ApplyForceToCenter(force, true);
    }
}

void Projectile::Update()
{
    if (body != nullptr) {
        const b2Vec2& position = body->GetPosition();
        x = position.x;
        y = position.y;
    }
    lifetime -= 1.0f;
}

float Projectile::Speed() const
{
    if (body == nullptr) {
        return 0.0f;
    }
    const b2Vec2& velocity = body->GetLinearVelocity();
    return std::sqrt(velocity.x * velocity.x + velocity.y * velocity.y);
}
