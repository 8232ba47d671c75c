// Quit signals and the process's alarm.
#include "app/quit_signals.h"

#include <unistd.h>

#include <array>
#include <csignal>
#include <cstddef>

namespace {

volatile std::sig_atomic_t quitSignal = 0;
volatile std::sig_atomic_t playing = 0;
volatile std::sig_atomic_t graceRunning = 0;

// The quit signals, and which of them the game was started with ignored (as nohup and a shell's
// background job ask): those stay ignored for the game's whole life, also after SDL_Init.
constexpr std::array kQuitSignals{SIGTERM, SIGINT, SIGQUIT, SIGHUP};
std::array<bool, kQuitSignals.size()> ignoredAtStart{};
bool startLooked = false;

extern "C" void OnQuitSignal(int /*signal*/)
{
    if (playing == 0) {
        _exit(0);  // still starting: nothing to save, and SDL may be stuck on the display
    }
    quitSignal = 1;
    // The main loop takes the signal within a frame; a frozen X server can hold it much longer.
    // Counted from the first quit signal: more of them do not put the end off.
    if (graceRunning == 0) {
        graceRunning = 1;
        alarm(ProcessGuard::kQuitGraceSeconds);
    }
}

extern "C" void OnAlarm(int /*signal*/, siginfo_t* info, void* /*context*/)
{
    if (info == nullptr || info->si_code != SI_KERNEL) {
        return;  // not the game's own timer: someone else's SIGALRM means nothing to the game
    }
    if (graceRunning != 0) {
        _exit(0);  // a quit signal's grace has run out
    }
}

void Catch(int signal, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

// The game's own SIGALRM handler.
void CatchAlarm()
{
    struct sigaction action {};
    action.sa_sigaction = OnAlarm;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_SIGINFO;
    sigaction(SIGALRM, &action, nullptr);
}

}  // namespace

namespace ProcessGuard {

void CatchQuitSignals()
{
    sigset_t caught;
    sigemptyset(&caught);
    for (std::size_t index = 0; index < kQuitSignals.size(); ++index) {
        const int signal = kQuitSignals[index];
        if (!startLooked) {
            struct sigaction inherited {};
            sigaction(signal, nullptr, &inherited);
            ignoredAtStart[index] = (inherited.sa_flags & SA_SIGINFO) == 0 && inherited.sa_handler == SIG_IGN;
        }
        if (ignoredAtStart[index]) {
            Catch(signal, SIG_IGN);
            continue;
        }
        Catch(signal, OnQuitSignal);
        sigaddset(&caught, signal);
    }
    startLooked = true;
    CatchAlarm();
    sigaddset(&caught, SIGALRM);
    // Signals blocked by whatever started the game would never reach it.
    sigprocmask(SIG_UNBLOCK, &caught, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

void Playing()
{
    playing = 1;
}

bool TakeQuitSignal()
{
    if (quitSignal == 0) {
        return false;
    }
    quitSignal = 0;
    return true;
}

}  // namespace ProcessGuard
