// Start-up's watch on the display: a display that stops answering while the game opens its
// window ends the start-up.
#pragma once

#include <string>

namespace ProcessGuard {

// Seconds a display may go without answering before start-up gives up on it. A slow display
// (X forwarded over a long line) answers late but keeps answering, and opens the game however
// long its start-up takes; time the game spends stopped (SIGSTOP, a suspended machine) does
// not count.
constexpr unsigned kDisplayAnswerSeconds = 5;

// Around opening the display: a display that goes kDisplayAnswerSeconds without answering ends
// the process with kStartFailedStatus, after telling the launcher which one it was. On X, the
// game keeps a connection of its own to the server meanwhile and asks it for a small answer
// again and again: that is how it knows a slow server from one that stopped. SDL's own
// connections are watched through the thread that opens the window: asleep and not woken for
// that long, it waits on an answer that does not come. The game's connection also keeps a
// server that resets when its last client leaves (Xvfb, as xvfb-run starts it) from resetting
// between SDL's look at the display and SDL's own connection.
// AwaitDisplay also settles which video driver SDL may use (ChooseVideoDriver), and
// DisplayAnswered gives the choice back.
void AwaitDisplay();
void DisplayAnswered();

// The watch's decision, over the times it looks (every tenth of a second or so): whether the
// game's own connection answered since the last look, and whether the thread opening the
// window moved (ran, or woke from a wait) since then. It gives up once either has been silent
// for kDisplayAnswerSeconds; a gap between two looks of more than kStoppedGapMs means the
// process did not run meanwhile (stopped, or the machine asleep), and that silence is not the
// display's.
class DisplaySilence {
public:
    static constexpr long long kStoppedGapMs = 3000;

    explicit DisplaySilence(long long nowMs);
    bool GivesUp(long long nowMs, bool answered, bool moved);

private:
    long long lastLookMs;
    long long lastAnswerMs;
    long long lastMoveMs;
};

// The line the launcher is told when a display does not answer.
std::string NoAnswerLine(const std::string& displayName);

}  // namespace ProcessGuard
