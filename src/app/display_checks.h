// What the game finds out about its display: its name as the player would give it, why it
// cannot be opened, whether anybody sees the window, and what happens when the X server goes.
#pragma once

#include <string>

namespace ProcessGuard {

// Status of a process whose X server went away under it.
constexpr int kLostDisplayStatus = 1;

// After SDL_SetVideoMode: false when SDL, left to choose a driver itself, ended up with one
// that opens no window (off screen, in the terminal, on the console), so the game would play
// to nobody. A driver the user asked for through SDL_VIDEODRIVER is always accepted.
bool OnVisibleDisplay();

// After SDL_SetVideoMode: if the window is on an X server, losing the server ends the process
// at once with kLostDisplayStatus, after telling the launcher which display was lost. Xlib's own
// reaction, exit(), would run SDL's shutdown, and that waits for ever on the dead connection.
void EndOnLostDisplay();

// The display the game tries to open, as the player would name it: "DISPLAY=:0".
std::string DisplayName();
// Why that display cannot be opened, where something besides SDL can tell: no Wayland runtime
// folder without DISPLAY, else what WhyNoXDisplay finds. Empty otherwise.
std::string WhyNoDisplay();

// Whether DISPLAY alone rules an X display out, asking nobody: it is not set, it is no display
// name, or it names a display on this machine whose socket does not exist.
bool DisplayPlainlyAbsent();

}  // namespace ProcessGuard
