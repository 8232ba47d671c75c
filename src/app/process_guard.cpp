// Quit signals, the choice of video driver, the display's answer and the end of the X connection.
#include "app/process_guard.h"

#include <SDL.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

struct _XDisplay;  // Xlib's Display; only its address is passed around

namespace {

volatile std::sig_atomic_t quitSignal = 0;
volatile std::sig_atomic_t playing = 0;
volatile std::sig_atomic_t awaitingDisplay = 0;

// The launcher's descriptor, or -1; read once, before any signal can need it.
int reportFd = -1;
// The line a display that does not answer leaves, written before the alarm is set.
char noAnswerLine[256] = "";
size_t noAnswerLength = 0;
// The game's stderr while the libraries open the display, or -1.
int savedStderr = -1;

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

extern "C" void OnQuitSignal(int /*signal*/)
{
    if (playing == 0) {
        _exit(0);  // still starting: nothing to save, and SDL may be stuck on the display
    }
    quitSignal = 1;
    // The main loop takes the signal within a frame; a frozen X server can hold it much longer.
    alarm(ProcessGuard::kQuitGraceSeconds);
}

extern "C" void OnAlarm(int /*signal*/)
{
    if (awaitingDisplay != 0) {
        if (reportFd >= 0) {
            WriteAll(reportFd, noAnswerLine, noAnswerLength);
        }
        _exit(ProcessGuard::kStartFailedStatus);
    }
    _exit(0);  // a quit signal's grace has run out
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

}  // namespace

namespace ProcessGuard {

void CatchQuitSignals()
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        Catch(signal, OnQuitSignal);
    }
    Catch(SIGALRM, OnAlarm);
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
    const std::string line =
        DisplayName() + " did not answer within " + std::to_string(kDisplayAnswerSeconds) + " s\n";
    noAnswerLength = std::min(line.size(), sizeof(noAnswerLine) - 1);
    reportFd = ReportDescriptor();
    std::memcpy(noAnswerLine, line.data(), noAnswerLength);
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
    awaitingDisplay = 1;
    Catch(SIGALRM, OnAlarm);  // also where the quit signals are left to someone else
    alarm(kDisplayAnswerSeconds);
}

void DisplayAnswered()
{
    alarm(0);
    awaitingDisplay = 0;
    if (savedStderr >= 0) {
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
        savedStderr = -1;
    }
}

bool OnVisibleDisplay()
{
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked != nullptr && asked[0] != '\0') {
        return true;
    }
    char name[64] = "";
    if (SDL_VideoDriverName(name, sizeof(name)) == nullptr) {
        return false;
    }
    return std::strcmp(name, "offscreen") != 0 && std::strcmp(name, "dummy") != 0;
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
