// The game's rules for one frame, over a Map alone: callable without a window or a Shooter.
#pragma once

#include "field/map.h"
#include "field/tuning.h"

#include <cstdint>
#include <functional>

namespace Rules {

// One whole frame of the rules over the map, in their order: the physics step, every record
// takes its body's place, the contact damage, the removals. `beforeRemoval`, when given, sees
// the map after the damage and before anything broken is taken away. Returns how many targets
// went. The game and every tool that plays it run their frames through this.
int32_t RunFrame(Map& map, float timeStep = Tuning::kTimeStep,
                 int32_t velocityIterations = Tuning::kVelocityIterations,
                 int32_t positionIterations = Tuning::kPositionIterations,
                 const std::function<void(const Map&)>& beforeRemoval = nullptr);

// One physics step of timeStep seconds, continuous collision chosen first for each shot.
void StepPhysics(Map& map, float timeStep, int32_t velocityIterations, int32_t positionIterations);

// Every record takes its body's position; shots that have come apart collide again; a shot
// long buried in another or in the cannon is spent.
void UpdateMap(Map& map);

// Each impact once, in the frame a projectile and a block first touch: the block takes the
// impact's damage, a spring is also flung upwards, a target also loses one more point. An
// animal whose blow breaks the block or takes the cake goes on the way it went before the step,
// through the gap, having spent the share of its momentum the block still held out against
// (the animal's damage factor helps it break the block, not push through it).
void ApplyContactDamage(Map& map);

// Removes every broken block and used-up shot, and every block or shot thrown as far above the
// field's top as the field is high, or fallen five cells below its bottom. Returns how many
// targets went.
int32_t RemoveDestroyed(Map& map);

}  // namespace Rules
