// From world units to screen pixels.
#pragma once

#include <cstdint>

// One world unit, a cell of the field, is this many pixels a side.
constexpr double PixelsPerUnit = 50.0;

// The pixel of a body's bitmap corner, from its centre and half extent along one axis. Worked
// out in double precision and truncated toward zero, so -12.5 gives -12.
inline int32_t WorldToScreen(float centre, float halfExtent)
{
    return static_cast<int32_t>(static_cast<double>(centre) * PixelsPerUnit -
                                static_cast<double>(halfExtent) * PixelsPerUnit);
}
