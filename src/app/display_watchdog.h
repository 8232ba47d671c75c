// Start-up's watch on the display: a display that stops answering while the game opens its
// window ends the start-up, and the video driver SDL may pick is settled meanwhile.
#pragma once

namespace ProcessGuard {

// Seconds a display may go without answering before start-up gives up on it. A slow display
// (X forwarded over a long line) answers late but keeps answering, and opens the game however
// long its start-up takes; time the game spends stopped (SIGSTOP, a suspended machine) does
// not count.
constexpr unsigned kDisplayAnswerSeconds = 5;

// Around opening the display: a display that goes kDisplayAnswerSeconds without answering ends
// the process with kStartFailedStatus, after telling the launcher which one it was. On X, the
// game keeps a connection of its own to the server meanwhile and asks it for a small answer
// again and again: that is how it knows a slow server from one that stopped. The connection
// also keeps a server that resets when its last client leaves (Xvfb, as xvfb-run starts it)
// from resetting between SDL's look at the display and SDL's own connection.
// AwaitDisplay also settles which video driver SDL may use: when the user asked for none, only
// one that opens a window, so that the classic SDL library never falls back to drawing in the
// terminal or on the console, and X alone while no Wayland display is named, so that SDL does
// not try Wayland without one and have its library print about the missing runtime folder.
void AwaitDisplay();
void DisplayAnswered();

// The start-up's clock, ticked by the game's alarm once a second; safe in a signal handler.
// False when no display is being awaited.
bool DisplayWatchdogTick();

// Whether the user named a video driver in SDL_VIDEODRIVER (not one chosen for the game's sake).
bool UserChoseVideoDriver();

}  // namespace ProcessGuard
