// The game's end tied to its launcher's, and the lines the game leaves it.
#include "app/launcher_link.h"
#include "app/monotonic_clock.h"

#include <limits.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <string>
#include <string_view>

namespace {

// How long the game waits for room in the launcher's pipe. A launcher that has left it full
// that long is not reading: from then on, the game writes only what fits at once.
constexpr long long kReportWaitMs = 1000;
volatile std::sig_atomic_t launcherStalled = 0;

}  // namespace

namespace ProcessGuard {

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
    // The launcher's end comes as a quit signal the game takes; one the game was started with
    // ignored (nohup, a shell's background job) would be lost, and when all are, it ends hard.
    int quit = SIGKILL;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT, SIGQUIT}) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 &&
            ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_IGN)) {
            quit = signal;
            break;
        }
    }
    prctl(PR_SET_PDEATHSIG, quit);
    // The launcher may have ended before the line above: then the game has a new parent.
    if (getppid() != static_cast<pid_t>(launcher)) {
        raise(quit);
    }
}

int LauncherDescriptor()
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

void WriteToLauncher(int descriptor, const char* text, std::size_t length)
{
    const int savedErrno = errno;  // a signal handler may call this
    const long long deadline = ProcessGuard::MonotonicMs() + (launcherStalled != 0 ? 0 : kReportWaitMs);
    while (length > 0) {
        pollfd room{descriptor, POLLOUT, 0};
        const long long left = deadline - ProcessGuard::MonotonicMs();
        const int ready = poll(&room, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready == 0) {
            launcherStalled = 1;
        }
        if (ready != 1 || (room.revents & POLLOUT) == 0) {
            break;
        }
        // A pipe with room takes PIPE_BUF bytes without waiting; more could block the game.
        const ssize_t written = write(descriptor, text, std::min<std::size_t>(length, PIPE_BUF));
        if (written < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        text += written;
        length -= static_cast<std::size_t>(written);
    }
    errno = savedErrno;
}

void TellLauncher(const std::string& line)
{
    const int fd = LauncherDescriptor();
    if (fd >= 0) {
        // One line, whatever a library's message holds.
        std::string whole = line;
        std::replace_if(
            whole.begin(), whole.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
        whole += '\n';
        WriteToLauncher(fd, whole.data(), whole.size());
    }
}

std::string Shown(std::string_view value)
{
    std::size_t characters = 0;
    for (const char byte : value) {
        characters += (static_cast<unsigned char>(byte) & 0xc0U) != 0x80U ? 1 : 0;
    }
    std::string shown;
    std::size_t kept = 0;
    for (const char byte : value) {
        const auto code = static_cast<unsigned char>(byte);
        if ((code & 0xc0U) != 0x80U && kept++ == kShownCharacters) {
            break;
        }
        shown += code < 0x20 || code == 0x7f ? '?' : byte;
    }
    if (characters > kShownCharacters) {
        shown += "\u2026 (" + std::to_string(characters) + " characters)";
    }
    return shown;
}

}  // namespace ProcessGuard
