// One owner for each SDL surface the game loads, so that every surface is freed exactly once.
#pragma once

#include <SDL.h>

#include <memory>

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

// Freed when its owner lets go; a shared picture is a std::shared_ptr made from one.
using OwnedSurface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;
