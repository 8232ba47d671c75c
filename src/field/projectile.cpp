// Projectile kinds and their bodies.
#include "field/projectile.h"

#include "assets/asset_catalog.h"
#include "assets/cimage.h"
#include "field/body_factory.h"

#include <cmath>
#include <memory>

namespace {

struct KindRow {
    const Asset::Bitmap& bitmap;
    float damageFactor;
    float size;  // radius, or the cow's half side
    float density;
    float friction;
    float restitution;
};

constexpr KindRow kPigRow{Asset::kPig, 1.0f, 0.2f, 3.0f, 0.5f, 0.5f};
constexpr KindRow kCowRow{Asset::kCow, 5.0f, 0.4f, 2.0f, 1.0f, 0.2f};
constexpr KindRow kSheepRow{Asset::kSheep, 2.0f, 0.3f, 3.0f, 0.5f, 0.6f};
constexpr KindRow kLightSheepRow{Asset::kSheep, 2.0f, 0.1f, 1.0f, 0.5f, 0.6f};
// A shot moving further than this share of its size in one step gets continuous collision.
constexpr float kContinuousFraction = 0.5f;

constexpr KindRow kBulletRow{Asset::kBullet, 2.0f, 0.2f, 3.0f, 0.5f, 0.8f};

// The loaded pictures, one per bitmap a kind is drawn from.
struct SharedPicture {
    const Asset::Bitmap& bitmap;
    std::shared_ptr<SDL_Surface> surface;
};
SharedPicture sharedPictures[] = {
    {Asset::kPig, nullptr}, {Asset::kCow, nullptr}, {Asset::kSheep, nullptr}, {Asset::kBullet, nullptr}};

std::shared_ptr<SDL_Surface> PictureOf(const Asset::Bitmap& bitmap)
{
    for (const SharedPicture& picture : sharedPictures) {
        if (&picture.bitmap == &bitmap) {
            return picture.surface;
        }
    }
    return nullptr;
}

const KindRow& RowFor(int kind)
{
    switch (kind) {
    case ProjectileKind::Pig:
        return kPigRow;
    case ProjectileKind::Cow:
        return kCowRow;
    case ProjectileKind::Sheep:
        return kSheepRow;
    case ProjectileKind::LightSheep:
        return kLightSheepRow;
    default:
        return kBulletRow;
    }
}

}  // namespace

void ShotPictures::Load()
{
    for (SharedPicture& picture : sharedPictures) {
        picture.surface = CImage::LoadOwned(picture.bitmap);
        CImage::SetTransparent(picture.surface.get(), Asset::kColourKey.r, Asset::kColourKey.g,
                               Asset::kColourKey.b);
    }
}

void ShotPictures::Release()
{
    for (SharedPicture& picture : sharedPictures) {
        picture.surface.reset();
    }
}

float OverlapDepth(const Projectile& a, const Projectile& b)
{
    return a.size + b.size - std::hypot(a.x - b.x, a.y - b.y);
}

float Projectile::SizeOf(int kind)
{
    return RowFor(kind).size;
}

Projectile::Projectile(float x, float y, b2World* world, int kind) : x(x), y(y), kind(kind)
{
    static uint64_t lastSerial = 0;
    serial = ++lastSerial;
    lifetime = kProjectileLifetime;
    const KindRow& row = RowFor(kind);
    sprite = PictureOf(row.bitmap);
    damageFactor = row.damageFactor;
    size = row.size;
    density = row.density;
    friction = row.friction;
    restitution = row.restitution;
    CreateBody(world);
}

void Projectile::CreateBody(b2World* world)
{
    BodySetup setup;
    setup.position.Set(x, y);
    setup.type = b2_dynamicBody;
    setup.bullet = true;  // the launch force acts in the first step; the frame rules decide later
    setup.fixedRotation = kind == ProjectileKind::Cow;  // the cow's square stays upright
    setup.density = density;
    setup.friction = friction;
    setup.restitution = restitution;
    setup.filter.categoryBits = CollisionCategory::Shot;
    if (kind == ProjectileKind::Cow) {
        body = CreateFieldBody(world, setup, SquareShape(size));
    } else {
        body = CreateFieldBody(world, setup, CircleShape(size));
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
    FollowBody(body, x, y);
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

void Projectile::UpdateContinuousCollision(float timeStep)
{
    // Before its first step a shot keeps the continuous collision it was made with: its launch
    // force has not shown in its speed yet.
    if (body != nullptr && lifetime < kProjectileLifetime) {
        body->SetBullet(Speed() * timeStep > kContinuousFraction * size);
    }
}
