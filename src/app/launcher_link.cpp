// The game's end tied to its launcher's, and the lines the game leaves it.
#include "app/launcher_link.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

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
    while (length > 0) {
        const ssize_t written = write(descriptor, text, length);
        if (written <= 0) {
            return;
        }
        text += written;
        length -= static_cast<std::size_t>(written);
    }
}

void TellLauncher(const std::string& line)
{
    const int fd = LauncherDescriptor();
    if (fd >= 0) {
        const std::string whole = line + "\n";
        WriteToLauncher(fd, whole.data(), whole.size());
    }
}

}  // namespace ProcessGuard
