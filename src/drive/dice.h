// A small seeded generator of the playthroughs' own, so their figures do not hang on a
// library's distributions.
#pragma once

#include <cstdint>

namespace Drive {

class Dice {
public:
    explicit Dice(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state >> 16);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
    uint64_t state;
};

}  // namespace Drive
