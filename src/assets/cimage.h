// The game's bitmap operations: load a checked BMP (for the display, owned, or as it is),
// blit it whole or in part, colour-key it.
#pragma once

#include "assets/asset_catalog.h"
#include "assets/owned_surface.h"

#include <SDL.h>

#include <cstdint>

// The size a picture must have; zero for any size up to 16384 pixels a side.
struct ImageSize {
    int width = 0;
    int height = 0;
};

class CImage {
public:
    CImage() = delete;

    using Size = ImageSize;

    // A BMP file converted to the display's format, owned by the caller; null on any failure.
    static SDL_Surface* Load(const char* path, const Size& expected = {});
    // One of the game's pictures: refused unless it has the size the catalogue gives it.
    static SDL_Surface* Load(const Asset::Bitmap& bitmap);
    // The same, in the keeping of its one owner.
    static OwnedSurface LoadOwned(const Asset::Bitmap& bitmap);

    // The same checked BMP in its own pixel format, for use before the window exists (the
    // window icon); owned by the caller; null on any failure.
    static SDL_Surface* LoadUnconverted(const char* path, const Size& expected = {});
    static SDL_Surface* LoadUnconverted(const Asset::Bitmap& bitmap);

    // Whether the file passes the checks Load makes before it decodes anything: a regular,
    // readable BMP file of the catalogue's size whose data fits. Nothing is decoded.
    static bool Check(const Asset::Bitmap& bitmap);

    // Why the last load or check that failed refused its file, in a few words: "missing", "unreadable",
    // "not a regular file", "the wrong size", "damaged (...)".
    static const char* LastRefusal();

    // A rectangle as SDL takes it: SDL keeps the low 16 bits of each value, so a position
    // past +-32767 wraps round.
    static SDL_Rect Rect(int32_t x, int32_t y, int32_t w, int32_t h)
    {
        SDL_Rect rect;
        rect.x = static_cast<Sint16>(x);
        rect.y = static_cast<Sint16>(y);
        rect.w = static_cast<Uint16>(w);
        rect.h = static_cast<Uint16>(h);
        return rect;
    }

    // Blits all of src with its top-left corner at (x, y); false when either surface is null.
    // SDL clips to the destination's clip rectangle.
    static bool Draw(SDL_Surface* dest, SDL_Surface* src, int32_t x, int32_t y);

    // Blits the w x h rectangle at (srcX, srcY) of src to (x, y); false when either surface is null.
    static bool DrawPart(SDL_Surface* dest, SDL_Surface* src, int32_t x, int32_t y, int32_t srcX,
                         int32_t srcY, int32_t w, int32_t h);

    // Pixels of colour (r, g, b) are skipped by later blits; false for a null surface.
    static bool SetTransparent(SDL_Surface* surface, Uint8 r, Uint8 g, Uint8 b);
};
