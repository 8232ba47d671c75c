// What the game does about its surroundings: quit signals, a display that does not answer or
// nobody sees, a lost X server, and the word it leaves its launcher when it cannot start.
#pragma once

#include <string>

namespace ProcessGuard {

// Status of a process whose X server went away under it.
constexpr int kLostDisplayStatus = 1;
// Status of a start-up that failed: no display, a display that does not answer, missing artwork.
constexpr int kStartFailedStatus = 255;
// Seconds the display has to answer before start-up gives up on it.
constexpr unsigned kDisplayAnswerSeconds = 5;
// Seconds the game has to leave after a quit signal before it leaves without a word to the
// X server (a frozen server would otherwise hold it).
constexpr unsigned kQuitGraceSeconds = 1;

// SIGTERM, SIGINT and SIGHUP (the terminal closed) all ask the game to quit, like closing
// its window. Until Playing() there is nothing to save, so they end the process at once with
// status 0; from then on the main loop takes them. Called first thing in the process, and
// again after SDL_Init in case SDL took them over.
void CatchQuitSignals();
// The main loop is running: quit signals are taken by TakeQuitSignal from now on.
void Playing();
// True once per quit signal received since the last call.
bool TakeQuitSignal();

// Around opening the display: a display that does not answer within kDisplayAnswerSeconds
// ends the process with kStartFailedStatus, after telling the launcher which one it was.
void AwaitDisplay();
void DisplayAnswered();

// After SDL_SetVideoMode: false when SDL, left to choose a driver itself, ended up drawing
// off screen (no display to open), so the game would play to nobody. A driver the user asked
// for through SDL_VIDEODRIVER is always accepted.
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
