// The game's bitmap operations: load a checked BMP (for the display, owned, or as it is),
// blit it whole or in part, colour-key it.
#pragma once

#include "assets/owned_surface.h"

#include <SDL.h>

#include <cstdint>

class CImage {
public:
    CImage() = delete;

    // A BMP file converted to the display's format, owned by the caller; null on any failure.
    static SDL_Surface* Load(const char* path);
    // The same, in the keeping of its one owner.
    static OwnedSurface LoadOwned(const char* path);

    // The same checked BMP in its own pixel format, for use before the window exists (the
    // window icon); owned by the caller; null on any failure.
    static SDL_Surface* LoadUnconverted(const char* path);

    // Blits all of src with its top-left corner at (x, y); false when either surface is null.
    static bool Draw(SDL_Surface* dest, SDL_Surface* src, int32_t x, int32_t y);

    // Blits the w x h rectangle at (srcX, srcY) of src to (x, y); false when either surface is null.
    static bool DrawPart(SDL_Surface* dest, SDL_Surface* src, int32_t x, int32_t y, int32_t srcX,
                         int32_t srcY, int32_t w, int32_t h);

    // Pixels of colour (r, g, b) are skipped by later blits; false for a null surface.
    static bool SetTransparent(SDL_Surface* surface, Uint8 r, Uint8 g, Uint8 b);
};
