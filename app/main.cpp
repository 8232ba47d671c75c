// The game's entry: one Shooter, run until its window is closed.
#include "app/shooter.h"
#include "app/video_defaults.h"

#include <SDL.h>

#include <cstdlib>

int main(int /*argc*/, char* /*argv*/[])
{
    SetVideoDefaults();
    // SDL is shut down at exit also when start-up fails halfway.
    std::atexit(SDL_Quit);
    Shooter game;
    const int result = game.OnExecute();
    return result;
}
