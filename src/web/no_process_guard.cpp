// The page has no process of its own to guard: no signals, no display to wait for or lose, no
// launcher. What the game would have told its launcher goes to the page's console. These stand
// in for every function of the desktop's process guard (app/quit_signals.h,
// app/display_watchdog.h, app/display_checks.h, app/launcher_link.h).
#include "app/display_checks.h"
#include "app/display_watchdog.h"
#include "app/launcher_link.h"
#include "app/quit_signals.h"

#include <cstdio>

namespace ProcessGuard {

void CatchQuitSignals() {}

void CatchAlarm() {}

void Playing() {}

bool TakeQuitSignal()
{
    return false;
}

void AwaitDisplay() {}

void DisplayAnswered() {}

bool UserChoseVideoDriver()
{
    return false;
}

bool OnVisibleDisplay()
{
    return true;
}

void EndOnLostDisplay() {}

std::string DisplayName()
{
    return "the page";
}

std::string WhyNoDisplay()
{
    return "";
}

std::string WhyNoCookieFile()
{
    return "";
}

void EndWithLauncher(char** /*environment*/) {}

int LauncherDescriptor()
{
    return -1;
}

void WriteToLauncher(int /*descriptor*/, const char* /*text*/, std::size_t /*length*/) {}

void TellLauncher(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace ProcessGuard
