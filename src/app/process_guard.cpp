// The desktop's process guard as the game sees it: the window opened under the display's watch,
// and every reason the player would not see it told to the launcher.
#include "app/process_guard.h"

#include "app/display_checks.h"
#include "app/display_watchdog.h"
#include "app/launcher_link.h"
#include "app/quit_signals.h"
#include "app/x_cookies.h"

namespace {

void TellNotOpened(const std::string& why)
{
    ProcessGuard::TellLauncher(ProcessGuard::DisplayName() + " could not be opened: " + why);
}

// After the window opened: false, after telling the launcher, when it is on no display anybody
// sees.
bool WindowSeen()
{
    if (ProcessGuard::OnVisibleDisplay()) {
        return true;
    }
    std::string why = ProcessGuard::WhyNoDisplay();
    if (why.empty()) {
        char driver[64] = "";
        why = "SDL could only draw with its \"" +
              std::string(SDL_VideoDriverName(driver, sizeof(driver)) != nullptr ? driver : "unknown") +
              "\" driver, which shows no window";
    }
    TellNotOpened(why);
    return false;
}

}  // namespace

namespace ProcessGuard {

void GuardFromStart(char** environment)
{
    CatchQuitSignals();
    EndWithLauncher(environment);
}

// Opening the display waits for the display's answer, so a display that stops answering ends
// start-up; whatever else keeps the window from the player is told to the launcher.
SDL_Surface* OpenWatchedWindow(const WindowOpening& steps)
{
    // The X libraries read the cookie file before they speak to the display, and would read
    // one that never ends for ever: that is the file's fault, not the display's.
    const std::string noCookies = WhyNoCookieFile();
    if (!noCookies.empty()) {
        TellNotOpened(noCookies);
        return nullptr;
    }
    AwaitDisplay();
    if (!steps.startSdl()) {
        const std::string error = SDL_GetError();
        DisplayAnswered();
        const std::string why = WhyNoDisplay();
        TellNotOpened(why.empty() ? error : why);
        return nullptr;
    }
    CatchQuitSignals();  // in case SDL took them over
    SDL_Surface* const screen = steps.openWindow();
    DisplayAnswered();
    if (screen == nullptr) {
        TellLauncher("the game's window could not open on " + DisplayName() + ": " + SDL_GetError());
        return nullptr;
    }
    if (!WindowSeen()) {
        return nullptr;  // SDL's own surface; SDL_Quit releases it
    }
    EndOnLostDisplay();
    return screen;
}

}  // namespace ProcessGuard
