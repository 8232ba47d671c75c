// What the game finds out about its display: its name as the player would give it, why it
// cannot be opened, whether anybody sees the window, and what happens when the X server goes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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
// Why that display cannot be opened, where something besides SDL can tell: a DISPLAY that is
// no display name, no X server listening at the display's socket or port, an X server that
// turns the game away (and why it says it does: a missing or wrong cookie). Looks for itself,
// within a few seconds. Empty otherwise.
std::string WhyNoDisplay();

// Whether DISPLAY alone rules an X display out, asking nobody: it is not set, it is no display
// name, or it names a display on this machine whose socket does not exist.
bool DisplayPlainlyAbsent();

// Before the display is opened: why the file the X libraries read the display's cookie from
// (XAUTHORITY, else ~/.Xauthority) would hold them up for ever: a device that never ends, a
// named pipe. A file that is merely missing or unreadable is no reason: a server without
// access control takes the game without a cookie. Empty otherwise.
std::string WhyNoCookieFile();

// A value as a line shows it: its first kShownCharacters characters and its length when it is
// longer, control characters as "?", so that the line stays one short line.
constexpr std::size_t kShownCharacters = 200;
std::string Shown(std::string_view value);

}  // namespace ProcessGuard
