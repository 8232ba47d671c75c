// What the game asks of the guard around its process: the few calls the game's entry and the
// Shooter make. On the desktop they stand for the quit signals, the display's watch and checks
// and the launcher's link; the browser's page has a stand-in of its own for them.
#pragma once

#include <SDL.h>

#include <string>

namespace ProcessGuard {

// First thing in the process, with its environment: quit signals caught, the game tied to its
// launcher.
void GuardFromStart(char** environment);

// The steps of opening the game's window that the guard watches over.
struct WindowOpening {
    bool (*startSdl)();            // false when SDL cannot start (SDL_GetError says why)
    SDL_Surface* (*openWindow)();  // the window's surface, or nullptr (SDL_GetError says why)
};
// Starts SDL and opens the window, watching the display meanwhile. The window's surface, or
// nullptr after telling the launcher why the player would see no window.
SDL_Surface* OpenWatchedWindow(const WindowOpening& steps);

// The main loop is running: quit signals are taken by TakeQuitSignal from now on.
void Playing();
// True once per quit signal received since the last call.
bool TakeQuitSignal();

// One line for the launcher about a reason the game could not start.
void TellLauncher(const std::string& line);

}  // namespace ProcessGuard
