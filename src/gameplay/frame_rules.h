// The game's rules for one frame, over a Map alone: callable without a window or a Shooter.
#pragma once

#include "field/map.h"

#include <cstdint>

namespace Rules {

// One physics step of timeStep seconds, continuous collision chosen first for each shot.
void StepPhysics(Map& map, float timeStep, int32_t velocityIterations, int32_t positionIterations);

// Every record takes its body's position; shots that have come apart collide again.
void UpdateMap(Map& map);

// Each impact once, in the frame a projectile and a block first touch: the block takes the
// impact's damage, a spring is also flung upwards, a target also loses one more point.
void ApplyContactDamage(Map& map);

// Removes every broken block and used-up shot, and every block or shot thrown as far above the
// field's top as the field is high, or fallen five cells below its bottom. Returns how many
// targets went.
int32_t RemoveDestroyed(Map& map);

}  // namespace Rules
