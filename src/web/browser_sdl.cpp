// What the browser's SDL 1.2 (emscripten's, drawing on canvases) lacks or gets wrong, supplied
// here under SDL's own names, so that the game calls SDL as on the desktop.
#include "web/browser_sdl.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>

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

}  // extern "C"

void BrowserSdl::HoldStreamSlot()
{
    // Closing the only open memory stream also drops the slot the browser's SDL keeps empty at
    // the start of its list, and the next stream it opens then gets the number 0, which reads
    // as a failure. One stream held open for good keeps the list from emptying.
    static const unsigned char nothing = 0;
    SDL_RWFromConstMem(&nothing, 1);
}
