// Building the random field of a run, over a Map alone: callable without a window or a Shooter.
#pragma once

#include "field/map.h"

#include <cstdint>

namespace Levels {

// The generator's own random numbers: the very sequence the GNU C library's srand and rand give
// (its additive feedback generator, r[i] = r[i-3] + r[i-31], seeded by a multiplicative
// congruential one, the first 310 discarded, each result shifted right by one), so a seed is
// the same field on every platform, whatever its C library, and no other caller of rand can
// disturb a level being built.
class Random {
public:
    explicit Random(unsigned seed);
    // 0 to 2^31 - 1, as glibc's rand.
    int Next();

private:
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;
    uint32_t state[kDegree] = {};
    int front = kSeparation;  // the newer of the two words summed
    int rear = 0;
};

// The field from seed (through Random): the cannon on its pedestal, the targets in random
// columns across the Map's width, the ledge row, terrain, pendulums and rotors.
void GenerateLevel(Map& map, unsigned seed, int32_t targets);

}  // namespace Levels
