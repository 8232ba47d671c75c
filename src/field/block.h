// A square body of the field: terrain, ledge, pedestal, anchor or target.
#pragma once

#include <box2d/box2d.h>

#include <cstdint>

// Block kind codes, as the level generator places them.
namespace BlockKind {
constexpr int Ledge = 4;
constexpr int Earth = 5;
constexpr int Bedrock = 6;
constexpr int Spring = 7;
constexpr int Pedestal = 8;
constexpr int Anchor = 9;
constexpr int Target = 10;  // a block is a target exactly when its kind is this
}  // namespace BlockKind

// A plain value record: copies share the body, which the world owns.
struct Block {
    float x = 0.0f;  // centre, world units, refreshed from the body once a frame
    float y = 0.0f;
    float halfSize = 0.49f;  // 0.98 box leaves a 0.02 gap between grid neighbours
    float strength = 0.0f;   // hit points left; 0 or less and the block is gone
    float fullStrength = 0.0f;
    uint16_t tileX = 0;  // top-left pixel of the 50 x 50 tile in the tile sheet
    uint16_t tileY = 0;
    int kind = 0;
    b2Body* body = nullptr;
    int bodyType = b2_staticBody;
    bool fixedRotation = true;  // blocks slide and stack upright, never turn
    float density = 0.0f;
    float friction = 0.0f;
    float restitution = 0.0f;

    Block(float x, float y, int kind, b2World* world);

    void SetKind(int kind);
    void CreateBody(b2World* world);
    void SyncPosition();
    void Damage(float amount);
    // One huge upward push for a single step: flings a dynamic block out through the top.
    void Launch();
};
