// Building the random field of a run, over a Map alone: callable without a window or a Shooter.
#pragma once

#include "field/map.h"

#include <cstdint>

namespace Levels {

// The field from seed (through std::rand): the cannon on its pedestal, the targets in random
// columns across the Map's width, the ledge row, terrain, pendulums and rotors.
void GenerateLevel(Map& map, unsigned seed, int32_t targets);

}  // namespace Levels
