// Bitmap loading and blitting on SDL surfaces.
#include "app/cimage.h"

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
    // SDL rectangles keep the low 16 bits; SDL clips to the destination.
    SDL_Rect destRect;
    destRect.x = static_cast<Sint16>(x);
    destRect.y = static_cast<Sint16>(y);
    destRect.w = 0;
    destRect.h = 0;
    SDL_BlitSurface(src, nullptr, dest, &destRect);
    return true;
}

bool CImage::DrawPart(SDL_Surface* dest, SDL_Surface* src, int32_t x, int32_t y, int32_t srcX,
                      int32_t srcY, int32_t w, int32_t h)
{
    if (dest == nullptr || src == nullptr) {
        return false;
    }
    SDL_Rect destRect;
    destRect.x = static_cast<Sint16>(x);
    destRect.y = static_cast<Sint16>(y);
    destRect.w = 0;
    destRect.h = 0;
    SDL_Rect srcRect;
    srcRect.x = static_cast<Sint16>(srcX);
    srcRect.y = static_cast<Sint16>(srcY);
    srcRect.w = static_cast<Uint16>(w);
    srcRect.h = static_cast<Uint16>(h);
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
