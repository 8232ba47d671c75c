// The display watchdog: a connection of the game's own that keeps asking the X server for an
// answer, a clock that ticks once a second while the window opens, and the driver SDL may use.
#include "app/display_watchdog.h"

#include "app/display_checks.h"
#include "app/launcher_link.h"
#include "app/quit_signals.h"

#include <SDL.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

namespace {

volatile std::sig_atomic_t awaitingDisplay = 0;

// The launcher's descriptor, or -1; read before the clock starts, as the alarm cannot.
int reportFd = -1;
// The line a display that does not answer leaves, made before the display is opened.
std::string noAnswerLine;
// The game's stderr while the libraries open the display, or -1.
int savedStderr = -1;
// The video driver SDL was told to use for the game's sake, not the user's.
bool driverChosenHere = false;

// Monotonic milliseconds: when the display last answered, and when the start-up's clock last
// ticked. Written by the watching thread and the alarm.
std::atomic<long long> lastAnswerMs{0};
std::atomic<long long> lastTickMs{0};
static_assert(std::atomic<long long>::is_always_lock_free);
constexpr long long kTickMs = 1000;
// A tick this late means the process did not run in between (stopped, or the machine asleep).
constexpr long long kStoppedGapMs = 3 * kTickMs;
// How often the watching thread asks the X server for an answer.
constexpr long kAskEveryNs = 200'000'000;

long long NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

void StartTicking()
{
    const long long now = NowMs();
    lastAnswerMs.store(now);
    lastTickMs.store(now);
    awaitingDisplay = 1;
    ProcessGuard::CatchAlarm();  // also where the quit signals are left to someone else
    const itimerval ticks{{kTickMs / 1000, 0}, {kTickMs / 1000, 0}};
    setitimer(ITIMER_REAL, &ticks, nullptr);
}

void StopTicking()
{
    const itimerval off{};
    setitimer(ITIMER_REAL, &off, nullptr);
    awaitingDisplay = 0;
}

// The few calls of libxcb that ask an X server for an answer. libxcb is loaded only when the
// game is about to open an X window, which loads it anyway.
struct XcbConnection;
struct XcbCookie {
    unsigned int sequence;
};
struct Xcb {
    XcbConnection* (*connect)(const char*, int*);
    int (*hasError)(XcbConnection*);
    XcbCookie (*getInputFocus)(XcbConnection*);
    void* (*getInputFocusReply)(XcbConnection*, XcbCookie, void**);
    void (*disconnect)(XcbConnection*);
};

bool LoadXcb(Xcb& xcb)
{
    void* library = dlopen("libxcb.so.1", RTLD_LAZY);
    if (library == nullptr) {
        return false;
    }
    xcb.connect = reinterpret_cast<decltype(xcb.connect)>(dlsym(library, "xcb_connect"));
    xcb.hasError = reinterpret_cast<decltype(xcb.hasError)>(dlsym(library, "xcb_connection_has_error"));
    xcb.getInputFocus = reinterpret_cast<decltype(xcb.getInputFocus)>(dlsym(library, "xcb_get_input_focus"));
    xcb.getInputFocusReply =
        reinterpret_cast<decltype(xcb.getInputFocusReply)>(dlsym(library, "xcb_get_input_focus_reply"));
    xcb.disconnect = reinterpret_cast<decltype(xcb.disconnect)>(dlsym(library, "xcb_disconnect"));
    return xcb.connect != nullptr && xcb.hasError != nullptr && xcb.getInputFocus != nullptr &&
           xcb.getInputFocusReply != nullptr && xcb.disconnect != nullptr;
}

enum class Watch { Connecting, Connected, Failed };
std::atomic<Watch> watch{Watch::Failed};
std::atomic<bool> stopWatching{false};

// Asks the X server for an answer until told to stop, noting the time of each one.
void WatchDisplay(Xcb xcb)
{
    int screen = 0;
    XcbConnection* connection = xcb.connect(nullptr, &screen);
    if (connection == nullptr || xcb.hasError(connection) != 0) {
        watch.store(Watch::Failed);
        if (connection != nullptr) {
            xcb.disconnect(connection);
        }
        return;
    }
    lastAnswerMs.store(NowMs());
    watch.store(Watch::Connected);
    while (!stopWatching.load()) {
        void* answer = xcb.getInputFocusReply(connection, xcb.getInputFocus(connection), nullptr);
        if (answer == nullptr) {
            break;  // the connection broke; SDL will find out for itself
        }
        std::free(answer);
        lastAnswerMs.store(NowMs());
        timespec pause{0, kAskEveryNs};
        nanosleep(&pause, nullptr);
    }
    xcb.disconnect(connection);
}

// Whether the game opens its window on X: SDL left to choose (it tries X first), or told to.
bool OpensOnX()
{
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    const char* x = std::getenv("DISPLAY");
    return (asked == nullptr || asked[0] == '\0' || strcasecmp(asked, "x11") == 0) && x != nullptr &&
           x[0] != '\0';
}

void StartWatching()
{
    stopWatching.store(false);
    Xcb xcb{};
    if (!OpensOnX() || !LoadXcb(xcb)) {
        watch.store(Watch::Failed);
        return;
    }
    watch.store(Watch::Connecting);
    std::thread(WatchDisplay, xcb).detach();
    // SDL looks at the display only once the game's own connection stands (or has failed).
    while (watch.load() == Watch::Connecting) {
        timespec pause{0, 1'000'000};
        nanosleep(&pause, nullptr);
    }
}

// The classic SDL library (1.2.15) goes down its list of drivers when X cannot be opened and
// ends up drawing in the terminal or on the console; sdl12-compat (1.2.50 on) never does.
bool ClassicSdl()
{
    const SDL_version* linked = SDL_Linked_Version();
    return linked != nullptr && linked->major == 1 && linked->minor == 2 && linked->patch < 50;
}

// Whether a Wayland display is named. SDL 2 and SDL 3 try Wayland also without one (SDL 3
// before X), and the Wayland library then prints on stderr that it found no runtime folder; a
// Wayland desktop always names its display, so without the name only X is tried.
bool WaylandNamed()
{
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland != nullptr && wayland[0] != '\0';
}

void ChooseDriver()
{
    if (!ProcessGuard::UserChoseVideoDriver() && (ClassicSdl() || !WaylandNamed())) {
        setenv("SDL_VIDEODRIVER", "x11", 1);
        driverChosenHere = true;
    }
}

void GiveBackDriverChoice()
{
    if (driverChosenHere) {
        unsetenv("SDL_VIDEODRIVER");
        driverChosenHere = false;
    }
}

// Under the launcher, what the libraries say while they look for a display (Wayland's
// complaint about XDG_RUNTIME_DIR, say) would only repeat less clearly what the game tells it.
void QuietLibraries()
{
    if (ProcessGuard::LauncherDescriptor() < 0 || savedStderr >= 0) {
        return;
    }
    const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (quiet >= 0) {
        savedStderr = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
        dup2(quiet, STDERR_FILENO);
        close(quiet);
    }
}

void GiveBackStderr()
{
    if (savedStderr >= 0) {
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
        savedStderr = -1;
    }
}

}  // namespace

namespace ProcessGuard {

void AwaitDisplay()
{
    noAnswerLine = DisplayName() + " did not answer for " + std::to_string(kDisplayAnswerSeconds) + " s\n";
    reportFd = LauncherDescriptor();
    ChooseDriver();
    QuietLibraries();
    StartTicking();
    StartWatching();
}

void DisplayAnswered()
{
    StopTicking();
    stopWatching.store(true);
    GiveBackDriverChoice();
    GiveBackStderr();
}

bool DisplayWatchdogTick()
{
    if (awaitingDisplay == 0) {
        return false;
    }
    const long long now = NowMs();
    if (now - lastTickMs.load() > kStoppedGapMs) {
        lastAnswerMs.store(now);  // the game was stopped: the display's silence meanwhile is not its fault
    }
    lastTickMs.store(now);
    if (now - lastAnswerMs.load() < static_cast<long long>(kDisplayAnswerSeconds) * 1000) {
        return true;
    }
    if (reportFd >= 0) {
        WriteToLauncher(reportFd, noAnswerLine.data(), noAnswerLine.size());
    }
    _exit(kStartFailedStatus);
}

bool UserChoseVideoDriver()
{
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return asked != nullptr && asked[0] != '\0' && !driverChosenHere;
}

}  // namespace ProcessGuard
