// The page has no process of its own to guard: no signals, no display to wait for or lose, no
// launcher. What the game would have told its launcher goes to the page's console.
#include "app/process_guard.h"

#include <cstdio>

namespace ProcessGuard {

void GuardFromStart(char** /*environment*/) {}

SDL_Surface* OpenWatchedWindow(const WindowOpening& steps)
{
    if (!steps.startSdl()) {
        TellLauncher(std::string("the page could not be opened: ") + SDL_GetError());
        return nullptr;
    }
    SDL_Surface* const screen = steps.openWindow();
    if (screen == nullptr) {
        TellLauncher(std::string("the game's window could not open on the page: ") + SDL_GetError());
    }
    return screen;
}

void Playing() {}

bool TakeQuitSignal()
{
    return false;
}

void TellLauncher(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace ProcessGuard
