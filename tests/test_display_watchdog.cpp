// Start-up's decision to give up on a display that stopped answering, on an injected clock.
#include "app/display_watchdog.h"

#include <gtest/gtest.h>

namespace {

using ProcessGuard::DisplaySilence;

// Looks every 100 ms from start to end; answered and moved as told. True if it gave up.
bool LooksGiveUp(DisplaySilence& silence, long long& now, long long untilMs, bool answered, bool moved)
{
    for (; now < untilMs;) {
        now += 100;
        if (silence.GivesUp(now, answered, moved)) {
            return true;
        }
    }
    return false;
}

// Silent for 4.9 s it waits, at 5 s it gives up, whichever of the two is silent: the game's own
// connection, or the thread opening the window (asleep on SDL's connection). A slow display
// that answers once a second is never given up on; time the process was stopped does not count.
TEST(DisplayWatchdogTest, GivesUpAfterFiveSilentSecondsOnly)
{
    for (const bool connectionSilent : {true, false}) {
        long long now = 1'000'000;
        DisplaySilence silence(now);
        EXPECT_FALSE(LooksGiveUp(silence, now, now + 4900, !connectionSilent, connectionSilent));
        EXPECT_TRUE(silence.GivesUp(now + 100, !connectionSilent, connectionSilent));
    }
    long long now = 0;
    DisplaySilence slow(now);
    for (int second = 0; second < 60; ++second) {
        EXPECT_FALSE(LooksGiveUp(slow, now, now + 900, false, true));
        EXPECT_FALSE(slow.GivesUp(now += 100, true, true));
    }
    now = 0;
    DisplaySilence stopped(now);
    EXPECT_FALSE(LooksGiveUp(stopped, now, 4000, false, false));
    EXPECT_FALSE(stopped.GivesUp(now += 60'000, false, false));  // SIGSTOP for a minute
    EXPECT_FALSE(LooksGiveUp(stopped, now, now + 4900, false, false));
    EXPECT_TRUE(stopped.GivesUp(now + 100, false, false));
}

TEST(DisplayWatchdogTest, TellsTheLauncherTheLimit)
{
    EXPECT_EQ(ProcessGuard::NoAnswerLine("display DISPLAY=:7"), "display DISPLAY=:7 did not answer for 5 s");
}

}  // namespace
