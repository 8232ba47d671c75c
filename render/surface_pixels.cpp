// Pixel read-back in any of SDL's packed pixel formats.
#include "render/surface_pixels.h"

#include <cstring>

PixelColour ReadPixelLocked(const SDL_Surface* surface, int x, int y)
{
    const int bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    Uint32 value = 0;
    switch (bpp) {
    case 1:
        value = *p;
        break;
    case 2: {
        Uint16 packed = 0;
        std::memcpy(&packed, p, sizeof packed);
        value = packed;
        break;
    }
    case 3:
        value = static_cast<Uint32>(p[0]) | static_cast<Uint32>(p[1]) << 8 | static_cast<Uint32>(p[2]) << 16;
        break;
    default:
        std::memcpy(&value, p, sizeof value);
        break;
    }
    PixelColour colour;
    SDL_GetRGB(value, surface->format, &colour.r, &colour.g, &colour.b);
    return colour;
}

PixelColour ReadPixel(SDL_Surface* surface, int x, int y)
{
    const bool mustLock = SDL_MUSTLOCK(surface);
    if (mustLock) {
        SDL_LockSurface(surface);
    }
    const PixelColour colour = ReadPixelLocked(surface, x, y);
    if (mustLock) {
        SDL_UnlockSurface(surface);
    }
    return colour;
}
