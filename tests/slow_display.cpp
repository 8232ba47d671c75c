// A slow display: a proxy in front of an X server's local socket that hands every answer of the
// server to the client a fixed time after it came, in order, like X forwarded over a slow line.
// Listens on the first free X port from 6100 on and prints the display number once it listens.
// Usage: slow_display <X display number> <delay in ms>. SIGUSR1 stalls it: from then on every
// connection stays open and nothing more reaches the client.
#include "free_x_port.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t stalled = 0;

extern "C" void OnStall(int /*signal*/)
{
    stalled = 1;
}

struct Answer {
    Clock::time_point due;
    std::string bytes;
};

int ConnectToServer(int display)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof(address.sun_path), "/tmp/.X11-unix/X%d", display);
    if (fd < 0 || connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        return -1;
    }
    return fd;
}

void WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            return;
        }
        done += static_cast<size_t>(written);
    }
}

// One client: its requests go straight on, the server's answers wait their delay.
void Relay(int client, int display, std::chrono::milliseconds delay)
{
    const int server = ConnectToServer(display);
    if (server < 0) {
        close(client);
        return;
    }
    std::deque<Answer> waiting;
    char buffer[65536];
    for (;;) {
        int timeout = -1;
        if (!waiting.empty() && stalled == 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(waiting.front().due - Clock::now());
            timeout = static_cast<int>(std::max<long>(0, left.count()));
        }
        pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        if (poll(fds, 2, stalled != 0 ? 1000 : timeout) < 0) {
            continue;
        }
        if ((fds[0].revents & (POLLIN | POLLHUP)) != 0) {
            const ssize_t got = read(client, buffer, sizeof(buffer));
            if (got <= 0) {
                break;
            }
            if (stalled == 0) {
                WriteAll(server, std::string(buffer, static_cast<size_t>(got)));
            }
        }
        if ((fds[1].revents & (POLLIN | POLLHUP)) != 0) {
            const ssize_t got = read(server, buffer, sizeof(buffer));
            if (got <= 0) {
                break;
            }
            waiting.push_back({Clock::now() + delay, std::string(buffer, static_cast<size_t>(got))});
        }
        while (stalled == 0 && !waiting.empty() && waiting.front().due <= Clock::now()) {
            WriteAll(client, waiting.front().bytes);
            waiting.pop_front();
        }
    }
    close(server);
    close(client);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: slow_display <X display number> <delay in ms>\n");
        return 2;
    }
    const int display = std::atoi(argv[1]);
    const std::chrono::milliseconds delay(std::atoi(argv[2]));
    std::signal(SIGUSR1, OnStall);
    std::signal(SIGPIPE, SIG_IGN);
    int number = 0;
    const int listener = ListenOnFreeXPort(number);
    if (listener < 0) {
        return 1;
    }
    std::printf("%d\n", number);
    std::fflush(stdout);
    for (;;) {
        const int client = accept(listener, nullptr, nullptr);
        if (client >= 0) {
            std::thread(Relay, client, display, delay).detach();
        }
    }
}
