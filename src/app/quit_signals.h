// Quit signals: SIGTERM, SIGINT, SIGQUIT and SIGHUP (the terminal closed) all ask the game to
// quit, like closing its window, unless the game was started with them ignored. The process's
// one alarm also lives here: it times a quit's grace.
#pragma once

namespace ProcessGuard {

// Seconds the game has to leave after a quit signal before it leaves without a word to the
// X server (a frozen server would otherwise hold it).
constexpr unsigned kQuitGraceSeconds = 1;

// Until Playing() there is nothing to save, so a quit signal ends the process at once with
// status 0; from then on the main loop takes them. Called first thing in the process, and
// again after SDL_Init in case SDL took them over. A quit signal the game was started with
// ignored (nohup, a script's background job) stays ignored: the first call looks. A SIGALRM
// from outside is ignored: the game's own alarms are the kernel's. SIGPIPE is ignored: the game
// writes to no pipe it could lose.
void CatchQuitSignals();
// The main loop is running: quit signals are taken by TakeQuitSignal from now on.
void Playing();
// True once per quit signal received since the last call.
bool TakeQuitSignal();

}  // namespace ProcessGuard
