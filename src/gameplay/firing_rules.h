// Firing: a shot from the cannon's muzzle, a shot that appears on top of earlier ones, and the
// cow's and sheep's second click.
#pragma once

#include "field/map.h"
#include "field/projectile.h"

#include <box2d/box2d.h>

#include <memory>

namespace Rules {

// Units a second and frames: a shot slower than this, where a new shot appears, and older, is
// lying there and is spent (one fired a moment ago may not have gathered speed yet).
constexpr float kLyingSpeed = 1.0f;
constexpr float kLyingFrames = 10.0f;

// A shot of that kind at (x, y), pushed by the force for its first step. It passes through every
// earlier shot it appears on, however many lie there, and those lying still there are spent.
// Returns the launch record: a separate copy of the new shot that shares its body, its x, y kept
// at the launch point. Null, and nothing fired, when it would appear on a shot fired in this same
// frame: nobody clicks twice within one frame, so that only holds an auto-clicker's bursts to one
// shot a frame.
std::unique_ptr<Projectile> Fire(Map& map, float x, float y, b2Vec2 force, int kind);

// A shot from the cannon's muzzle, as a release of the mouse button fires it; null when there is
// no cannon or Fire refused the shot.
std::unique_ptr<Projectile> FireFromCannon(Map& map, b2Vec2 force, int kind);

// The second click on the shot the record was made for: a cow splits into three pigs, a sheep is
// jolted downwards. Does nothing for any other kind, or once the shot has left the field.
void ProjectileAction(Map& map, const Projectile* record);

}  // namespace Rules
