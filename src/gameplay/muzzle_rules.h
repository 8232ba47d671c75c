// The rules of shots lying at the muzzle: when two shots lie plainly inside one another, when a
// shot covers the cannon, and how long either may last before the shot is spent.
#pragma once

#include "field/map.h"
#include "field/projectile.h"

namespace Rules {

// Deeper in one another than this share of the smaller one's size (OverlapDepth), one shot is
// plainly drawn inside the other.
constexpr float kDeepShare = 0.1f;
// Frames a shot may lie drawn deep inside another shot, or over the cannon's middle, before it
// is spent: less than half a second, so no player sees a pile of animals inside one another.
constexpr int kBuriedFrames = 40;

// The two shots lie deeper in one another than kDeepShare of the smaller one's size.
bool LieDeep(const Projectile& a, const Projectile& b);

// The shot's picture lies over the cannon's centre; never without a cannon.
bool CoversCannon(const Map& map, const Projectile& shot);

// A shot that has lain drawn deep inside another one (the older of the two), or over the
// cannon's middle, for kBuriedFrames in a row is spent: its lifetime ends, and the removal pass
// takes it away.
void SpendBuriedShots(Map& map);

}  // namespace Rules
