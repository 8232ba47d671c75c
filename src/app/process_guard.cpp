// Quit signals, the choice of video driver, the display's answer and the end of the X connection.
#include "app/process_guard.h"

#include <SDL.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <string_view>
#include <thread>

struct _XDisplay;  // Xlib's Display; only its address is passed around

namespace {

volatile std::sig_atomic_t quitSignal = 0;
volatile std::sig_atomic_t playing = 0;
volatile std::sig_atomic_t awaitingDisplay = 0;
volatile std::sig_atomic_t graceRunning = 0;

// The launcher's descriptor, or -1; read once, before any signal can need it.
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

int ReportDescriptor()
{
    static const int fd = [] {
        const char* value = std::getenv("FARMYARD_CANNON_REPORT");
        if (value == nullptr || value[0] == '\0') {
            return -1;
        }
        char* end = nullptr;
        const long number = std::strtol(value, &end, 10);
        // Never the game's own standard streams: it prints nothing there.
        if (*end != '\0' || number <= STDERR_FILENO || number > 1024) {
            return -1;
        }
        return static_cast<int>(number);
    }();
    return fd;
}

void WriteAll(int fd, const char* text, size_t length)
{
    while (length > 0) {
        const ssize_t written = write(fd, text, length);
        if (written <= 0) {
            return;
        }
        text += written;
        length -= static_cast<size_t>(written);
    }
}

void StopTicking()
{
    const itimerval off{};
    setitimer(ITIMER_REAL, &off, nullptr);
}

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
    if (awaitingDisplay == 0) {
        if (graceRunning != 0) {
            _exit(0);  // a quit signal's grace has run out
        }
        return;
    }
    const long long now = NowMs();
    if (now - lastTickMs.load() > kStoppedGapMs) {
        lastAnswerMs.store(now);  // the game was stopped: the display's silence meanwhile is not its fault
    }
    lastTickMs.store(now);
    if (now - lastAnswerMs.load() < static_cast<long long>(ProcessGuard::kDisplayAnswerSeconds) * 1000) {
        return;
    }
    if (reportFd >= 0) {
        WriteAll(reportFd, noAnswerLine.data(), noAnswerLine.size());
    }
    _exit(ProcessGuard::kStartFailedStatus);
}

// Xlib calls this when the connection to the X server breaks; it must not return.
extern "C" int OnLostDisplay(_XDisplay* /*display*/)
{
    _exit(ProcessGuard::kLostDisplayStatus);
}

void Catch(int signal, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

void CatchAlarm()
{
    struct sigaction action {};
    action.sa_sigaction = OnAlarm;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_SIGINFO;
    sigaction(SIGALRM, &action, nullptr);
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

bool UserAskedForDriver()
{
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return asked != nullptr && asked[0] != '\0' && !driverChosenHere;
}

}  // namespace

namespace ProcessGuard {

void CatchQuitSignals()
{
    sigset_t quit;
    sigemptyset(&quit);
    for (const int signal : {SIGTERM, SIGINT, SIGQUIT, SIGHUP}) {
        Catch(signal, OnQuitSignal);
        sigaddset(&quit, signal);
    }
    CatchAlarm();
    sigaddset(&quit, SIGALRM);
    // Signals blocked by whatever started the game would never reach it.
    sigprocmask(SIG_UNBLOCK, &quit, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

void EndWithLauncher(char** environment)
{
    constexpr std::string_view kName = "FARMYARD_CANNON_LAUNCHER=";
    const char* value = nullptr;
    for (char** entry = environment; entry != nullptr && *entry != nullptr; ++entry) {
        if (std::string_view(*entry).starts_with(kName)) {
            value = *entry + kName.size();
        }
    }
    if (value == nullptr || value[0] == '\0') {
        return;
    }
    char* end = nullptr;
    const long launcher = std::strtol(value, &end, 10);
    if (*end != '\0' || launcher <= 1) {
        return;
    }
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    // The launcher may have ended before the line above: then the game has a new parent.
    if (getppid() != static_cast<pid_t>(launcher)) {
        raise(SIGTERM);
    }
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

void AwaitDisplay()
{
    noAnswerLine = DisplayName() + " did not answer for " + std::to_string(kDisplayAnswerSeconds) + " s\n";
    reportFd = ReportDescriptor();
    if (!UserAskedForDriver() && ClassicSdl()) {
        setenv("SDL_VIDEODRIVER", "x11", 1);
        driverChosenHere = true;
    }
    // Under the launcher, what the libraries say while they look for a display (Wayland's
    // complaint about XDG_RUNTIME_DIR, say) would only repeat less clearly what the game tells it.
    if (ReportDescriptor() >= 0 && savedStderr < 0) {
        const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (quiet >= 0) {
            savedStderr = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
            dup2(quiet, STDERR_FILENO);
            close(quiet);
        }
    }
    const long long now = NowMs();
    lastAnswerMs.store(now);
    lastTickMs.store(now);
    awaitingDisplay = 1;
    CatchAlarm();  // also where the quit signals are left to someone else
    const itimerval ticks{{kTickMs / 1000, 0}, {kTickMs / 1000, 0}};
    setitimer(ITIMER_REAL, &ticks, nullptr);
    StartWatching();
}

void DisplayAnswered()
{
    StopTicking();
    awaitingDisplay = 0;
    stopWatching.store(true);
    if (driverChosenHere) {
        unsetenv("SDL_VIDEODRIVER");
        driverChosenHere = false;
    }
    if (savedStderr >= 0) {
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
        savedStderr = -1;
    }
}

bool OnVisibleDisplay()
{
    if (UserAskedForDriver()) {
        return true;
    }
    char name[64] = "";
    if (SDL_VideoDriverName(name, sizeof(name)) == nullptr) {
        return false;
    }
    // The drivers that open a window on a desktop, by the names either SDL 1.2 library gives them.
    for (const char* windowing : {"x11", "wayland", "windows", "windib", "directx", "cocoa", "quartz"}) {
        if (strcasecmp(name, windowing) == 0) {
            return true;
        }
    }
    return false;
}

void EndOnLostDisplay()
{
    // SDL loads Xlib itself when it opens an X window; nothing is loaded here otherwise.
    void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (xlib == nullptr) {
        return;
    }
    using Handler = int (*)(_XDisplay*);
    using SetHandler = Handler (*)(Handler);
    const auto setHandler = reinterpret_cast<SetHandler>(dlsym(xlib, "XSetIOErrorHandler"));
    if (setHandler != nullptr) {
        setHandler(OnLostDisplay);
    }
    dlclose(xlib);  // SDL's own reference keeps the library loaded
}

std::string DisplayName()
{
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((x == nullptr || x[0] == '\0') && wayland != nullptr && wayland[0] != '\0') {
        return std::string("Wayland display WAYLAND_DISPLAY=") + wayland;
    }
    return std::string("display DISPLAY=") + (x != nullptr ? x : "");
}

std::string WhyNoDisplay()
{
    const char* value = std::getenv("DISPLAY");
    if (value == nullptr || value[0] == '\0') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        struct stat status {};
        if (runtime == nullptr || runtime[0] != '/' || stat(runtime, &status) != 0 ||
            !S_ISDIR(status.st_mode)) {
            return "XDG_RUNTIME_DIR, where Wayland's socket is, is not set or not a folder";
        }
        return "";
    }
    // [host]:number[.screen]
    const std::string display(value);
    const size_t colon = display.rfind(':');
    size_t digits = colon == std::string::npos ? 0 : colon + 1;
    const size_t numberStart = digits;
    while (digits < display.size() && std::isdigit(static_cast<unsigned char>(display[digits])) != 0) {
        ++digits;
    }
    if (colon == std::string::npos || digits == numberStart ||
        (digits < display.size() && display[digits] != '.')) {
        return "that is not a display name (host:number, such as :0)";
    }
    const std::string host = display.substr(0, colon);
    if (host.empty() || host == "unix") {
        const std::string socket = "/tmp/.X11-unix/X" + display.substr(numberStart, digits - numberStart);
        struct stat status {};
        if (stat(socket.c_str(), &status) != 0) {
            return "no X server listens there (" + socket + " does not exist)";
        }
    }
    return "";
}

void TellLauncher(const std::string& line)
{
    const int fd = ReportDescriptor();
    if (fd >= 0) {
        const std::string whole = line + "\n";
        WriteAll(fd, whole.data(), whole.size());
    }
}

}  // namespace ProcessGuard
