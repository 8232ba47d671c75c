// The page has no process of its own to guard: no signals, no display to wait for or lose, no
// launcher. What the game would have told its launcher goes to the page's console.
#include "app/process_guard.h"

#include <cstdio>

namespace ProcessGuard {

void CatchQuitSignals() {}

void EndWithLauncher(char** /*environment*/) {}

void Playing() {}

bool TakeQuitSignal()
{
    return false;
}

void AwaitDisplay() {}

void DisplayAnswered() {}

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

void TellLauncher(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace ProcessGuard
