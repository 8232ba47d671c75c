// Reading back the colour of one pixel of a surface, for screenshots, tests and the benchmarks.
#pragma once

#include "assets/colour.h"

#include <SDL.h>

// The colour at (x, y), in range, of a surface that is already locked where SDL requires it.
Asset::Colour ReadPixelLocked(const SDL_Surface* surface, int x, int y);

// Locks and unlocks the surface around the read where SDL requires it.
Asset::Colour ReadPixel(SDL_Surface* surface, int x, int y);
