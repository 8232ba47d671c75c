// What the game does about its surroundings: quit signals, a display nobody sees, a lost X server.
#pragma once

namespace ProcessGuard {

// Status of a process whose X server went away under it.
constexpr int kLostDisplayStatus = 1;

// SIGTERM, SIGINT and SIGHUP (the terminal closed) all ask the game to quit, like closing
// its window. Call after SDL_Init, whose own handlers these replace.
void CatchQuitSignals();
// True once per quit signal received since the last call.
bool TakeQuitSignal();

// After SDL_SetVideoMode: false when SDL, left to choose a driver itself, ended up drawing
// off screen (no display to open), so the game would play to nobody. A driver the user asked
// for through SDL_VIDEODRIVER is always accepted.
bool OnVisibleDisplay();

// After SDL_SetVideoMode: if the window is on an X server, losing the server ends the process
// at once with kLostDisplayStatus. Xlib's own reaction, exit(), would run SDL's shutdown, and
// that waits for ever on the dead connection.
void EndOnLostDisplay();

}  // namespace ProcessGuard
