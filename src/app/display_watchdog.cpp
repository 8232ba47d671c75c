// The display watchdog: a connection of the game's own that keeps asking the X server for an
// answer, and a thread that judges from it and from the thread opening the window whether the
// display still answers.
#include "app/display_watchdog.h"

#include "app/display_checks.h"
#include "app/launcher_link.h"
#include "app/monotonic_clock.h"
#include "app/video_driver.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>

namespace {

// The launcher's descriptor, or -1, and the line a display that does not answer leaves there,
// both made before the display is opened.
int reportFd = -1;
std::string noAnswerLine;
// The game's stderr while the libraries open the display, or -1.
int savedStderr = -1;

// How often the watching thread asks the X server for an answer, and how often the judging
// thread looks at the answers and at the thread opening the window.
constexpr long kAskEveryNs = 200'000'000;
constexpr auto kLookEvery = std::chrono::milliseconds(100);

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

// The game's own connection: connecting, asking (each answer counted), or not in use (no X,
// no libxcb, refused, or broken: SDL finds out for itself, and the thread opening the window
// is still watched).
enum class Watch { Connecting, Asking, Unused };
std::atomic<Watch> watch{Watch::Unused};
std::atomic<unsigned long> answers{0};
std::atomic<bool> stopWatching{false};

// How long the game's connection is tried again when the server drops it before it stands: an
// X server that resets when its last client leaves (Xvfb under xvfb-run) turns away whoever
// connects while it resets, and a client that just left a display far away may have set that
// off moments before the game started.
constexpr long long kConnectForMs = 2000;
constexpr long kConnectAgainNs = 100'000'000;

// Asks the X server for an answer until told to stop, counting the answers. Connects again
// while tryAgain and kConnectForMs allow.
void AskDisplay(Xcb xcb, bool tryAgain)
{
    int screen = 0;
    const long long until = ProcessGuard::MonotonicMs() + kConnectForMs;
    XcbConnection* connection = xcb.connect(nullptr, &screen);
    while (connection == nullptr || xcb.hasError(connection) != 0) {
        if (connection != nullptr) {
            xcb.disconnect(connection);
        }
        if (!tryAgain || ProcessGuard::MonotonicMs() >= until) {
            watch.store(Watch::Unused);
            return;
        }
        timespec pause{0, kConnectAgainNs};
        nanosleep(&pause, nullptr);
        connection = xcb.connect(nullptr, &screen);
    }
    answers.fetch_add(1);
    watch.store(Watch::Asking);
    while (!stopWatching.load()) {
        void* answer = xcb.getInputFocusReply(connection, xcb.getInputFocus(connection), nullptr);
        if (answer == nullptr) {
            watch.store(Watch::Unused);
            break;
        }
        std::free(answer);
        answers.fetch_add(1);
        timespec pause{0, kAskEveryNs};
        nanosleep(&pause, nullptr);
    }
    xcb.disconnect(connection);
}

// The thread that opens the window, as the kernel sees it: whether it runs, and how often it
// has gone to sleep and been woken (a slow display wakes it at every answer; one that stopped
// answering never does). Read from /proc, so that watching it does not wake it.
struct ThreadLook {
    char state = '?';
    unsigned long long sleeps = 0;
};

std::string threadStatusPath;

bool LookAtThread(ThreadLook& look)
{
    char text[4096];
    const int fd = open(threadStatusPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const ssize_t got = read(fd, text, sizeof(text) - 1);
    close(fd);
    if (got <= 0) {
        return false;
    }
    text[got] = '\0';
    const char* state = std::strstr(text, "\nState:");
    const char* sleeps = std::strstr(text, "\nvoluntary_ctxt_switches:");
    if (state == nullptr || sleeps == nullptr) {
        return false;
    }
    state += std::strlen("\nState:");
    while (*state == ' ' || *state == '\t') {
        ++state;
    }
    look.state = *state;
    look.sleeps = std::strtoull(sleeps + std::strlen("\nvoluntary_ctxt_switches:"), nullptr, 10);
    return true;
}

// Whether the thread moved since the last look: it runs, is stopped or traced (not the
// display's doing), or slept and woke meanwhile. A thread /proc cannot show is not judged.
bool ThreadMoved(ThreadLook& last)
{
    ThreadLook now;
    if (!LookAtThread(now)) {
        return true;
    }
    const bool moved = (now.state != 'S' && now.state != 'D') || now.sleeps != last.sleeps;
    last = now;
    return moved;
}

std::mutex judging;
std::condition_variable judgeWakes;
bool judgeStops = false;
std::thread judge;

// Looks at the game's connection and at the thread opening the window until told to stop;
// ends the process when the display has been silent too long.
void Judge()
{
    ProcessGuard::DisplaySilence silence(ProcessGuard::MonotonicMs());
    ThreadLook thread;
    LookAtThread(thread);
    unsigned long heard = answers.load();
    std::unique_lock<std::mutex> lock(judging);
    while (!judgeWakes.wait_for(lock, kLookEvery, [] { return judgeStops; })) {
        const unsigned long count = answers.load();
        const bool answered = count != heard || watch.load() == Watch::Unused;
        heard = count;
        if (silence.GivesUp(ProcessGuard::MonotonicMs(), answered, ThreadMoved(thread))) {
            if (reportFd >= 0) {
                ProcessGuard::WriteToLauncher(reportFd, noAnswerLine.data(), noAnswerLine.size());
            }
            _exit(ProcessGuard::kStartFailedStatus);
        }
    }
}

void StopJudging()
{
    {
        const std::lock_guard<std::mutex> lock(judging);
        judgeStops = true;
    }
    judgeWakes.notify_all();
    if (judge.joinable()) {
        judge.join();
    }
}

void StartJudging()
{
    StopJudging();  // a watch still running from an earlier call
    threadStatusPath = "/proc/self/task/" + std::to_string(gettid()) + "/status";
    {
        const std::lock_guard<std::mutex> lock(judging);
        judgeStops = false;
    }
    judge = std::thread(Judge);
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
        watch.store(Watch::Unused);
        return;
    }
    watch.store(Watch::Connecting);
    // A display whose name is wrong, or whose local socket is missing, is not tried again.
    std::thread(AskDisplay, xcb, !ProcessGuard::DisplayPlainlyAbsent()).detach();
    // SDL looks at the display only once the game's own connection stands (or has failed).
    while (watch.load() == Watch::Connecting) {
        timespec pause{0, 1'000'000};
        nanosleep(&pause, nullptr);
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

DisplaySilence::DisplaySilence(long long nowMs) : lastLookMs(nowMs), lastAnswerMs(nowMs), lastMoveMs(nowMs) {}

bool DisplaySilence::GivesUp(long long nowMs, bool answered, bool moved)
{
    if (nowMs - lastLookMs > kStoppedGapMs) {
        // The process did not run in between: the display's silence meanwhile is not its fault.
        lastAnswerMs = nowMs;
        lastMoveMs = nowMs;
    }
    lastLookMs = nowMs;
    if (answered) {
        lastAnswerMs = nowMs;
    }
    if (moved) {
        lastMoveMs = nowMs;
    }
    const long long limit = static_cast<long long>(kDisplayAnswerSeconds) * 1000;
    return nowMs - lastAnswerMs >= limit || nowMs - lastMoveMs >= limit;
}

std::string NoAnswerLine(const std::string& displayName)
{
    return displayName + " did not answer for " + std::to_string(kDisplayAnswerSeconds) + " s";
}

void AwaitDisplay()
{
    noAnswerLine = NoAnswerLine(DisplayName()) + "\n";
    reportFd = LauncherDescriptor();
    ChooseVideoDriver();
    QuietLibraries();
    StartJudging();
    StartWatching();
}

void DisplayAnswered()
{
    StopJudging();
    stopWatching.store(true);
    GiveBackVideoDriverChoice();
    GiveBackStderr();
}

}  // namespace ProcessGuard
