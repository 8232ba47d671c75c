// The playtest tool's runs, one per kind of player or probe, and what they share. Each prints its
// figures on stdout; the same arguments always print the same bytes.
#pragma once

#include "drive/playthrough.h"

#include <vector>

namespace Playtest {

inline const char* const kKindNames[Drive::kKinds] = {"pig", "cow", "sheep"};

// The mass of a shot of `kind`, as its body has it: a cow is a square, a pig and a sheep a disc.
float ShotMass(int kind);

// The angle, above the level, that throws a shot from the muzzle `dx` units across and `up`
// units up at `speed`, on the flatter arc or the higher one; false when the speed cannot reach.
bool ArcAngle(float dx, float up, float speed, bool high, float& angle);

// A random player and an aiming player on `levels` levels from `firstSeed`, `shots` each, and
// their reports.
void PlayersProbe(int levels, int shots, unsigned firstSeed);

// A player who aims by eye, skilled and casual, each animal alone.
void EyeProbe(int levels, unsigned firstSeed, int shots);

// Every animal with its trick at 1 to 5 clicks a second: the runs where the cannon left.
void CannonProbe(int seeds, int seconds, unsigned firstSeed, int maxDrag, bool springsOnly);

// The muzzle at a player's pace, per drag: shots refused, drawn inside one another, the cannon
// covered, shots flung apart.
void MuzzleProbe(int seconds, int seeds, unsigned firstSeed);

}  // namespace Playtest
