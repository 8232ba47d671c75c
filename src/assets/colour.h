// A 24-bit colour, one byte a channel, shared by the game's catalogue, the artwork tool and the tests.
#pragma once

#include <cstdint>

namespace Asset {

struct Colour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

}  // namespace Asset
