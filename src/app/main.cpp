// The game's entry: one Shooter, run until its window is closed.
#include "app/process_guard.h"
#include "app/shooter.h"
#include "app/video_defaults.h"

#include <SDL.h>

#include <unistd.h>

#include <cstdlib>

namespace {

bool gameReturned = false;

// SDL is shut down at exit also when start-up fails halfway. An exit from anywhere but the end
// of main comes from a library giving up inside the game (Xlib does when its display goes
// away); SDL's shutdown could then wait for ever on what has just failed, so the process ends
// at once with that status.
void ShutDownSdl(int status, void* /*unused*/)
{
    if (!gameReturned) {
        _exit(status != 0 ? status : EXIT_FAILURE);
    }
    SDL_Quit();
}

// A quit signal may come the moment the game starts. The handlers are in place before anything
// else runs in the process, even before the libraries start up (loading SDL's video libraries
// takes milliseconds): the program's pre-initialisers run first of all.
void CatchQuitSignalsFirst(int /*argc*/, char** /*argv*/, char** envp)
{
    ProcessGuard::GuardFromStart(envp);
}
using PreInitialiser = void (*)(int, char**, char**);
[[gnu::section(".preinit_array"), gnu::used]] const PreInitialiser catchQuitSignalsFirst =
    CatchQuitSignalsFirst;

}  // namespace

int main(int /*argc*/, char* /*argv*/[])
{
    SetVideoDefaults();
    on_exit(ShutDownSdl, nullptr);
    Shooter game;
    const int result = game.OnExecute();
    gameReturned = true;
    return result;
}
