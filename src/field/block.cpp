// Block kinds and the bodies built for them.
#include "field/block.h"

#include "assets/asset_catalog.h"
#include "field/body_factory.h"

namespace {

struct KindRow {
    Asset::TilePosition tile;
    float density;
    float friction;
    float restitution;
    float strength;
    b2BodyType bodyType;
};

constexpr float kTargetHalfSize = 0.45f;
constexpr float kLaunchForce = -1e10f;  // upwards: y grows downwards

}  // namespace

Block::Block(float x, float y, int kind, b2World* world) : x(x), y(y), kind(kind)
{
    SetKind(kind);  // over the default half size, so a target's own size wins
    fullStrength = strength;
    CreateBody(world);
}

void Block::SetKind(int newKind)
{
    KindRow row{};
    switch (newKind) {
    case BlockKind::Ledge:
        row = {Asset::kLedgeTile, 10.0f, 1.0f, 0.0f, 1000.0f, b2_dynamicBody};
        break;
    case BlockKind::Earth:
        row = {Asset::kEarthTile, 10.0f, 2.0f, 0.0f, 1000.0f, b2_dynamicBody};
        break;
    case BlockKind::Bedrock:
        row = {Asset::kBedrockTile, 50.0f, 1.0f, 0.0f, 3000.0f, b2_staticBody};
        break;
    case BlockKind::Spring:
        row = {Asset::kSpringTile, 30.0f, 0.6f, 0.5f, 1000.0f, b2_dynamicBody};
        break;
    case BlockKind::Pedestal:
        row = {Asset::kPedestalTile, 20.0f, 1.0f, 0.1f, 10000.0f, b2_dynamicBody};
        break;
    case BlockKind::Anchor:
        row = {Asset::kAnchorTile, 50.0f, 1.0f, 0.0f, 10000.0f, b2_kinematicBody};
        break;
    case BlockKind::Target:
        row = {Asset::kTargetTile, 2.0f, 0.2f, 0.8f, 1.0f, b2_dynamicBody};
        halfSize = kTargetHalfSize;
        break;
    default:
        // Nothing in the game makes such a block; it keeps the body type it already had.
        tileX = Asset::kUnknownTile.x;
        tileY = Asset::kUnknownTile.y;
        density = 100.0f;
        friction = 1.0f;
        restitution = 1.0f;
        strength = 1.0f;
        return;
    }
    tileX = row.tile.x;
    tileY = row.tile.y;
    density = row.density;
    friction = row.friction;
    restitution = row.restitution;
    strength = row.strength;
    bodyType = row.bodyType;
}

void Block::CreateBody(b2World* world)
{
    BodySetup setup;
    setup.position.Set(x, y);
    setup.type = static_cast<b2BodyType>(bodyType);
    setup.fixedRotation = fixedRotation;
    setup.density = density;
    setup.friction = friction;
    setup.restitution = restitution;
    body = CreateFieldBody(world, setup, SquareShape(halfSize));
}

void Block::SyncPosition()
{
    FollowBody(body, x, y);
}

void Block::Damage(float amount)
{
    strength -= amount;
}

void Block::Launch()
{
    if (body == nullptr) {
        return;
    }
    body->ApplyForceToCenter(b2Vec2(0.0f, kLaunchForce), true);
}
