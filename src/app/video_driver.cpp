// The video driver chosen for the game's sake, and whether the user chose one.
#include "app/video_driver.h"

#include <SDL.h>

#include <cstdlib>

namespace {

// The video driver SDL was told to use for the game's sake, not the user's.
bool driverChosenHere = false;

// The classic SDL library (1.2.15) goes down its list of drivers when X cannot be opened and
// ends up drawing in the terminal or on the console; sdl12-compat (1.2.50 on) never does.
bool ClassicSdl()
{
    const SDL_version* linked = SDL_Linked_Version();
    return linked != nullptr && linked->major == 1 && linked->minor == 2 && linked->patch < 50;
}

// Whether a Wayland display is named. SDL 2 and SDL 3 try Wayland also without one (SDL 3
// before X), and the Wayland library then prints on stderr that it found no runtime folder; a
// Wayland desktop always names its display, so without the name only X is tried.
bool WaylandNamed()
{
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland != nullptr && wayland[0] != '\0';
}

}  // namespace

namespace ProcessGuard {

void ChooseVideoDriver()
{
    if (!UserChoseVideoDriver() && (ClassicSdl() || !WaylandNamed())) {
        setenv("SDL_VIDEODRIVER", "x11", 1);
        driverChosenHere = true;
    }
}

void GiveBackVideoDriverChoice()
{
    if (driverChosenHere) {
        unsetenv("SDL_VIDEODRIVER");
        driverChosenHere = false;
    }
}

bool UserChoseVideoDriver()
{
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return asked != nullptr && asked[0] != '\0' && !driverChosenHere;
}

}  // namespace ProcessGuard
