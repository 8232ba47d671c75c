// Bitmap loading and blitting on SDL surfaces.
#include "app/cimage.h"

namespace {

// SDL rectangles keep the low 16 bits of each value; SDL clips to the destination.
SDL_Rect MakeRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(x);
    rect.y = static_cast<Sint16>(y);
    rect.w = static_cast<Uint16>(w);
    rect.h = static_cast<Uint16>(h);
    return rect;
}

}  // namespace

SDL_Surface* CImage::Load(const char* path)
{
    SDL_RWops* stream = SDL_RWFromFile(path, "rb");
    if (stream == nullptr) {
        return nullptr;
    }
    SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);  // closes the stream itself
    if (loaded == nullptr) {
        return nullptr;
    }
    SDL_Surface* converted = SDL_DisplayFormat(loaded);
    SDL_FreeSurface(loaded);
    return converted;
}

bool CImage::Draw(SDL_Surface* dest, SDL_Surface* src, int32_t x, int32_t y)
{
    if (dest == nullptr || src == nullptr) {
        return false;
    }
    // Only the position is read; SDL writes the clipped size back into this local copy.
    SDL_Rect destRect = MakeRect(x, y, 0, 0);
    SDL_BlitSurface(src, nullptr, dest, &destRect);
    return true;
}

bool CImage::DrawPart(SDL_Surface* dest, SDL_Surface* src, int32_t x, int32_t y, int32_t srcX,
                      int32_t srcY, int32_t w, int32_t h)
{
    if (dest == nullptr || src == nullptr) {
        return false;
    }
    SDL_Rect destRect = MakeRect(x, y, 0, 0);
    SDL_Rect srcRect = MakeRect(srcX, srcY, w, h);
    SDL_BlitSurface(src, &srcRect, dest, &destRect);
    return true;
}

bool CImage::SetTransparent(SDL_Surface* surface, Uint8 r, Uint8 g, Uint8 b)
{
    if (surface == nullptr) {
        return false;
    }
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY | SDL_RLEACCEL, SDL_MapRGB(surface->format, r, g, b));
    return true;
}
