// What the game does about its surroundings: quit signals, a display that does not answer or
// nobody sees, a lost X server, and the word it leaves its launcher when it cannot start.
#pragma once

#include <string>

namespace ProcessGuard {

// Status of a process whose X server went away under it.
constexpr int kLostDisplayStatus = 1;
// Status of a start-up that failed: no display, a display that does not answer, missing artwork.
constexpr int kStartFailedStatus = 255;
// Seconds a display may go without answering before start-up gives up on it. A slow display
// (X forwarded over a long line) answers late but keeps answering, and opens the game however
// long its start-up takes; time the game spends stopped (SIGSTOP, a suspended machine) does
// not count.
constexpr unsigned kDisplayAnswerSeconds = 5;
// Seconds the game has to leave after a quit signal before it leaves without a word to the
// X server (a frozen server would otherwise hold it).
constexpr unsigned kQuitGraceSeconds = 1;

// SIGTERM, SIGINT, SIGQUIT and SIGHUP (the terminal closed) all ask the game to quit, like
// closing its window. Until Playing() there is nothing to save, so they end the process at once
// with status 0; from then on the main loop takes them. Called first thing in the process, and
// again after SDL_Init in case SDL took them over. A SIGALRM from outside is ignored: the game's
// own alarms are the kernel's. SIGPIPE is ignored: the game writes to no pipe it could lose.
void CatchQuitSignals();
// Started by its launcher (FARMYARD_CANNON_LAUNCHER names the launcher's process), the game
// ends with it: when the launcher ends, however it ends, the game gets a quit signal, and a
// game whose launcher is already gone quits at once. Takes the process's environment, as the
// program's first code gets it (the library's own view of it is not ready yet).
void EndWithLauncher(char** environment);
// The main loop is running: quit signals are taken by TakeQuitSignal from now on.
void Playing();
// True once per quit signal received since the last call.
bool TakeQuitSignal();

// Around opening the display: a display that goes kDisplayAnswerSeconds without answering ends
// the process with kStartFailedStatus, after telling the launcher which one it was. On X, the
// game keeps a connection of its own to the server meanwhile and asks it for a small answer
// again and again: that is how it knows a slow server from one that stopped. The connection
// also keeps a server that resets when its last client leaves (Xvfb, as xvfb-run starts it)
// from resetting between SDL's look at the display and SDL's own connection.
// AwaitDisplay also settles which video driver SDL may use: when the user asked for none, only
// one that opens a window, so that the classic SDL library never falls back to drawing in the
// terminal or on the console.
void AwaitDisplay();
void DisplayAnswered();

// After SDL_SetVideoMode: false when SDL, left to choose a driver itself, ended up with one
// that opens no window (off screen, in the terminal, on the console), so the game would play
// to nobody. A driver the user asked for through SDL_VIDEODRIVER is always accepted.
bool OnVisibleDisplay();

// After SDL_SetVideoMode: if the window is on an X server, losing the server ends the process
// at once with kLostDisplayStatus. Xlib's own reaction, exit(), would run SDL's shutdown, and
// that waits for ever on the dead connection.
void EndOnLostDisplay();

// The display the game tries to open, as the player would name it: "DISPLAY=:0".
std::string DisplayName();
// Why that display cannot be opened, where something besides SDL can tell: no X server
// listening at the display's socket, a DISPLAY that is no display name. Empty otherwise.
std::string WhyNoDisplay();

// The game prints nothing; its launcher hands it a descriptor in FARMYARD_CANNON_REPORT, and
// the game writes one line there for each reason it could not start. Without it, nothing.
void TellLauncher(const std::string& line);

}  // namespace ProcessGuard
