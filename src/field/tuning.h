// The game's physics settings and starting counters, each with its unit and the reason for it.
#pragma once

#include <cstdint>

namespace Tuning {

// Seconds of game time per frame. Fixed, so a shot flies the same on every machine; at one
// hundred steps a second Box2D's cap of 2 units per step allows 200 units per second.
constexpr float kTimeStep = 0.01f;

// Wall-clock microseconds per frame: one time step, so the game runs at real speed.
// The step is positive, so adding a half before truncating rounds to the nearest microsecond.
constexpr uint64_t kFrameMicros =
    static_cast<uint64_t>(kTimeStep * 1e6f + 0.5f);  // NOLINT(bugprone-incorrect-roundings)

// Box2D's constraint solver passes per step: its recommended 8 for velocities, 3 for positions.
constexpr int32_t kVelocityIterations = 8;
constexpr int32_t kPositionIterations = 3;

// Units (cells) per second squared, pulling down the screen (+y).
constexpr float kGravityY = 20.0f;

// Bodies at rest fall asleep and cost the step nothing until something touches them.
constexpr bool kAllowSleep = true;

// The field, in cells of one world unit: 20 x 13 cells fill the 1000 x 650 pixel window at
// 50 pixels per unit.
constexpr int32_t kFieldWidth = 20;
constexpr int32_t kFieldHeight = 13;

// Cakes placed on the field at the start; the game ends when none is left.
constexpr int32_t kTargetCount = 3;

// Where a shot appears, from the cannon's centre, in units: 30 pixels right and 30 up.
constexpr float kMuzzleX = 0.6f;
constexpr float kMuzzleY = -0.6f;

// Launch force, in Box2D force units, per pixel the pointer is dragged.
constexpr float kAimForcePerPixel = 10.0f;

// Seconds a shot stays in the field before it is removed.
constexpr float kProjectileSeconds = 5.0f;

}  // namespace Tuning
