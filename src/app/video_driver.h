// The video driver SDL may use while the game opens its display: settled for the game's sake
// unless the user named one.
#pragma once

namespace ProcessGuard {

// When the user named no driver in SDL_VIDEODRIVER: only one that opens a window, so that the
// classic SDL library never falls back to drawing in the terminal or on the console, and X
// alone while no Wayland display is named, so that SDL does not try Wayland without one and
// have its library print about the missing runtime folder.
void ChooseVideoDriver();
// Takes back a driver ChooseVideoDriver set, once the display is open or has failed.
void GiveBackVideoDriverChoice();

// Whether the user named a video driver in SDL_VIDEODRIVER (not one chosen for the game's sake).
bool UserChoseVideoDriver();

}  // namespace ProcessGuard
