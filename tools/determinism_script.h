// The determinism run's script of clicks and its hash of the field, shared by the game's own run
// (determinism.cpp, through SDL's events) and the field's alone (determinism_field.cpp, for a
// platform without a display, such as the browser's engine under node).
#pragma once

#include "field/map.h"

#include <box2d/box2d.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace Determinism {

constexpr unsigned kSeed = 31;
constexpr int kFrames = 3000;      // 30 s of game time
constexpr int kReportEvery = 100;  // frames
constexpr int kShotEvery = 20;     // frames between two shots of the script
constexpr int kTrickAfter = 7;     // frames after a shot a waiting trick is clicked

// What the script does in one frame, before its rules: nothing, a press that aims (or, while a
// cow's or a sheep's trick waits, plays it), or a click for a waiting trick.
struct Step {
    enum What { None, Shot, Trick } what = None;
    int kind = 0;  // 0 pig, 1 cow, 2 sheep: the key pressed just before the shot
    int dx = 0;    // pixels dragged from the press
    int dy = 0;
};

// `shots` counts the script's shots so far; `waiting` is whether a trick waits.
inline Step At(int frame, int& shots, bool waiting)
{
    // From 8 s to 10 s a burst: a cow dropped (or its trick played) every fifth frame.
    if (frame >= 800 && frame < 1000 && frame % 5 == 0) {
        return Step{Step::Shot, 1, -3 * (frame % 3), 0};
    }
    if (frame % kShotEvery == 0) {
        // Dropped at the muzzle, nudged, weak, middling, strong and flat, and hard and high.
        constexpr int kDrags[][2] = {{0, 0},     {-5, 0},   {-40, 10},  {-72, -20},
                                     {-160, 40}, {-300, 0}, {-250, 180}};
        const int shot = shots++;
        return Step{Step::Shot, shot % 3, kDrags[shot % 7][0], kDrags[shot % 7][1]};
    }
    if (frame % kShotEvery == kTrickAfter && waiting) {
        return Step{Step::Trick, 0, 0, 0};
    }
    return Step{};
}

// 64-bit FNV-1a over the raw bits of the numbers it is fed.
class Hash {
public:
    void Add(uint32_t word)
    {
        for (int i = 0; i < 4; ++i) {
            value ^= (word >> (8 * i)) & 0xFFu;
            value *= 0x100000001B3ull;
        }
    }
    void Add(float number)
    {
        uint32_t bits = 0;  // the float's own bits (memcpy: the browser's C++ library has no bit_cast)
        std::memcpy(&bits, &number, sizeof bits);
        Add(bits);
    }
    void Add(const b2Body* body)
    {
        if (body == nullptr) {
            Add(0xFFFFFFFFu);
            return;
        }
        Add(body->GetPosition().x);
        Add(body->GetPosition().y);
        Add(body->GetAngle());
        Add(body->GetLinearVelocity().x);
        Add(body->GetLinearVelocity().y);
        Add(body->GetAngularVelocity());
    }
    uint64_t value = 0xCBF29CE484222325ull;
};

// Every body's place, angle and velocity, every block's strength and every shot's lifetime, in
// the field's order: blocks, shots, balls, the cannon.
inline uint64_t HashField(const Map& map)
{
    Hash hash;
    hash.Add(static_cast<uint32_t>(map.blocks.size()));
    for (const Block& block : map.blocks) {
        hash.Add(block.body);
        hash.Add(block.strength);
    }
    hash.Add(static_cast<uint32_t>(map.projectiles.size()));
    for (const Projectile& shot : map.projectiles) {
        hash.Add(shot.body);
        hash.Add(shot.lifetime);
    }
    hash.Add(static_cast<uint32_t>(map.balls.size()));
    for (const Ball& ball : map.balls) {
        hash.Add(ball.body);
    }
    hash.Add(map.cannon ? map.cannon->body : nullptr);
    return hash.value;
}

// Every number the hash takes, one body a line, as the bits' hexadecimal and the value: where two
// platforms part, this says which body and which number first.
inline void DumpField(const Map& map)
{
    const auto bits = [](float number) {
        uint32_t word = 0;
        std::memcpy(&word, &number, sizeof word);
        return word;
    };
    const auto body = [&](const char* what, size_t i, const b2Body* b, float extra) {
        const float numbers[] = {
            b->GetPosition().x,       b->GetPosition().y,      b->GetAngle(), b->GetLinearVelocity().x,
            b->GetLinearVelocity().y, b->GetAngularVelocity(), extra};
        std::printf("%s %zu", what, i);
        for (const float number : numbers) {
            std::printf(" %08x(%.9g)", bits(number), static_cast<double>(number));
        }
        std::printf("\n");
    };
    for (size_t i = 0; i < map.blocks.size(); ++i) {
        body("block", i, map.blocks[i].body, map.blocks[i].strength);
    }
    for (size_t i = 0; i < map.projectiles.size(); ++i) {
        body("shot", i, map.projectiles[i].body, map.projectiles[i].lifetime);
    }
    for (size_t i = 0; i < map.balls.size(); ++i) {
        body("ball", i, map.balls[i].body, 0.0f);
    }
}

}  // namespace Determinism
