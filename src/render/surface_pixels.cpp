// Pixel read-back in any of SDL's packed pixel formats.
#include "render/surface_pixels.h"

#include <cstddef>
#include <cstring>

Asset::Colour ReadPixelLocked(const SDL_Surface* surface, int x, int y)
{
    const int bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch +
                     static_cast<ptrdiff_t>(x) * bpp;
    // Rows need not start on a word boundary, so the pixel's 1 to 4 bytes are copied, never read
    // through a wider pointer. They fill the low end of value in the machine's byte order.
    Uint32 value = 0;
    const int offset = SDL_BYTEORDER == SDL_BIG_ENDIAN ? static_cast<int>(sizeof value) - bpp : 0;
    std::memcpy(reinterpret_cast<Uint8*>(&value) + offset, p, static_cast<size_t>(bpp));
    Asset::Colour colour;
    SDL_GetRGB(value, surface->format, &colour.r, &colour.g, &colour.b);
    return colour;
}

Asset::Colour ReadPixel(SDL_Surface* surface, int x, int y)
{
    const bool mustLock = SDL_MUSTLOCK(surface);
    if (mustLock) {
        SDL_LockSurface(surface);
    }
    const Asset::Colour colour = ReadPixelLocked(surface, x, y);
    if (mustLock) {
        SDL_UnlockSurface(surface);
    }
    return colour;
}
