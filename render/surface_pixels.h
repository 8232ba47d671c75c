// Reading back the colour of one pixel of a surface, for screenshots and tests.
#pragma once

#include <SDL.h>

struct PixelColour {
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
};

// The colour at (x, y), in range, of a surface that is already locked where SDL requires it.
PixelColour ReadPixelLocked(const SDL_Surface* surface, int x, int y);

// Locks and unlocks the surface around the read where SDL requires it.
PixelColour ReadPixel(SDL_Surface* surface, int x, int y);
