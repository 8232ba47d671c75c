// What the browser's SDL 1.2 (emscripten's, drawing on canvases) lacks or gets wrong, supplied
// here under SDL's own names, so that the game calls SDL as on the desktop.
#include "web/browser_sdl.h"

#include <SDL.h>

#include <algorithm>

namespace {

// The overlap of two rectangles; empty (0 x 0) when they do not meet.
SDL_Rect Overlap(const SDL_Rect& a, const SDL_Rect& b)
{
    const int left = std::max(a.x, b.x);
    const int top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.w, b.x + b.w);
    const int bottom = std::min(a.y + a.h, b.y + b.h);
    if (right <= left || bottom <= top) {
        return SDL_Rect{left, top, 0, 0};
    }
    return SDL_Rect{left, top, right - left, bottom - top};
}

}  // namespace

extern "C" {

// Missing altogether. Every surface there already has the canvas's pixels.
SDL_Surface* SDL_DisplayFormat(SDL_Surface* surface)
{
    return SDL_DisplayFormatAlpha(surface);
}

// There it does nothing, and the colour key would show. The canvas blends by alpha, so every
// pixel of the key's colour is made fully transparent instead; a surface is keyed once, after
// it was loaded, before anything is drawn on it.
int SDL_SetColorKey(SDL_Surface* surface, int flag, Uint32 key)
{
    if (surface == nullptr) {
        return -1;
    }
    if ((flag & SDL_SRCCOLORKEY) == 0) {
        return 0;
    }
    const SDL_PixelFormat* format = surface->format;
    const Uint32 colour = format->Rmask | format->Gmask | format->Bmask;
    SDL_LockSurface(surface);
    auto* row = static_cast<unsigned char*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y, row += surface->pitch) {
        auto* pixel = reinterpret_cast<Uint32*>(row);
        for (int x = 0; x < surface->w; ++x) {
            if ((pixel[x] & colour) == (key & colour)) {
                pixel[x] = 0;
            }
        }
    }
    SDL_UnlockSurface(surface);
    return 0;
}

// There a clip rectangle cuts the destination but not the source: a blit clipped on its left or
// top draws the source's corner instead of the part under the clip (drawing only what changed
// then patches the sky with the wrong sky), and one given a 0 x 0 destination draws nothing.
// The clip rectangle is kept in the surface, as SDL does, and every blit is clipped here the
// desktop's way before the browser's SDL draws it, at its own size, unclipped.
SDL_bool SDL_SetClipRect(SDL_Surface* surface, const SDL_Rect* rect)
{
    if (surface == nullptr) {
        return SDL_FALSE;
    }
    const SDL_Rect whole{0, 0, surface->w, surface->h};
    if (rect == nullptr) {
        surface->clip_rect = whole;
        return SDL_TRUE;
    }
    surface->clip_rect = Overlap(*rect, whole);
    return surface->clip_rect.w > 0 ? SDL_TRUE : SDL_FALSE;
}

int SDL_UpperBlit(SDL_Surface* src, const SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect)
{
    if (src == nullptr || dst == nullptr) {
        return -1;
    }
    // The part of the source, within the source, and where it lands.
    SDL_Rect part = srcrect != nullptr ? *srcrect : SDL_Rect{0, 0, src->w, src->h};
    int x = dstrect != nullptr ? dstrect->x : 0;
    int y = dstrect != nullptr ? dstrect->y : 0;
    if (part.x < 0) {
        part.w += part.x;
        x -= part.x;
        part.x = 0;
    }
    if (part.y < 0) {
        part.h += part.y;
        y -= part.y;
        part.y = 0;
    }
    part.w = std::min(part.w, src->w - part.x);
    part.h = std::min(part.h, src->h - part.y);
    // Clipped to the destination's clip rectangle, within the destination.
    const SDL_Rect clip = Overlap(dst->clip_rect, SDL_Rect{0, 0, dst->w, dst->h});
    SDL_Rect landed = Overlap(SDL_Rect{x, y, std::max(0, part.w), std::max(0, part.h)}, clip);
    const int left = landed.x;
    const int top = landed.y;
    if (dstrect != nullptr) {
        *dstrect = landed;
    }
    if (landed.w == 0 || landed.h == 0) {
        return 0;
    }
    part.x += left - x;
    part.y += top - y;
    part.w = landed.w;
    part.h = landed.h;
    // Drawn at its own size: the browser's scaled blit takes both rectangles as they are.
    return SDL_UpperBlitScaled(src, &part, dst, &landed);
}

}  // extern "C"

void BrowserSdl::HoldStreamSlot()
{
    // Closing the only open memory stream also drops the slot the browser's SDL keeps empty at
    // the start of its list, and the next stream it opens then gets the number 0, which reads
    // as a failure. One stream held open for good keeps the list from emptying.
    static const unsigned char nothing = 0;
    SDL_RWFromConstMem(&nothing, 1);
}
