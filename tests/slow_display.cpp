// A slow display: a proxy in front of an X server's local socket that hands every answer of the
// server to the client a fixed time after it came, in order, like X forwarded over a slow line.
// Listens on the first free X port from 6100 on and prints the display number once it listens.
// Usage: slow_display <X display number> <delay in ms> [both] [stall <connection> <bytes|map>]
//   both      the client's requests wait the delay too (a line slow both ways); otherwise they
//             go straight on
//   stall     the <connection>th connection (from 1) stalls once <bytes> of the server's
//             answers have reached its client, or (map) once the server has its first
//             MapWindow request: it stays open and nothing more passes
// SIGUSR1 stalls it all: from then on every connection stays open and nothing more passes.
// Each connection's count of answer bytes it passed is written on stderr when it closes.
#include "free_x_port.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

struct Chunk {
    Clock::time_point due;
    std::string bytes;
};

struct Line {
    std::chrono::milliseconds answerDelay{0};
    std::chrono::milliseconds requestDelay{0};
    int stallConnection = 0;  // 0: none
    size_t stallAfter = 0;
    bool stallAfterMap = false;
};

// Follows a client's requests (little-endian) until the first MapWindow.
class MapWatch {
public:
    // Takes the next bytes the client sends; true once a MapWindow request is among them.
    bool Sees(const char* bytes, size_t size)
    {
        for (size_t i = 0; i < size && !mapped; ++i) {
            header.push_back(static_cast<unsigned char>(bytes[i]));
            if (skip > 0) {
                --skip;
                header.clear();
                continue;
            }
            if (!setUp && header.size() == 12) {
                skip = Pad(header[6] | header[7] << 8) + Pad(header[8] | header[9] << 8);
                setUp = true;
                header.clear();
            } else if (setUp && header.size() == 4 && (header[2] | header[3]) != 0) {
                Request(header[2] | header[3] << 8, 4);
            } else if (setUp && header.size() == 8) {  // BIG-REQUESTS' length
                Request(header[4] | header[5] << 8 | header[6] << 16 | static_cast<size_t>(header[7]) << 24,
                        8);
            }
        }
        return mapped;
    }

private:
    static size_t Pad(size_t n) { return (n + 3) / 4 * 4; }
    void Request(size_t words, size_t read)
    {
        mapped = header[0] == 8;  // MapWindow
        skip = words * 4 - read;
        header.clear();
    }

    std::vector<unsigned char> header;
    size_t skip = 0;
    bool setUp = false;
    bool mapped = false;
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

void WriteAll(int fd, const char* bytes, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t written = write(fd, bytes + done, size - done);
        if (written <= 0) {
            return;
        }
        done += static_cast<size_t>(written);
    }
}

// Milliseconds until the first chunk of the queue is due, or -1 for none.
int DueIn(const std::deque<Chunk>& queue)
{
    if (queue.empty()) {
        return -1;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(queue.front().due - Clock::now());
    return static_cast<int>(std::max<long>(0, left.count()));
}

// One client: its requests and the server's answers each wait their delay.
void Relay(int client, int display, Line line, int number)
{
    const int server = ConnectToServer(display);
    if (server < 0) {
        close(client);
        return;
    }
    std::deque<Chunk> requests;
    std::deque<Chunk> answers;
    size_t answered = 0;  // bytes of answers passed to the client
    const bool stallsHere = line.stallConnection == number;
    MapWatch maps;
    bool mapped = false;
    char buffer[65536];
    for (;;) {
        const bool stopped =
            stalled != 0 || (stallsHere && (line.stallAfterMap ? mapped : answered >= line.stallAfter));
        int timeout = stopped ? 1000 : -1;
        for (const int due : {DueIn(requests), DueIn(answers)}) {
            if (!stopped && due >= 0 && (timeout < 0 || due < timeout)) {
                timeout = due;
            }
        }
        pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        if (poll(fds, 2, timeout) < 0) {
            continue;
        }
        if ((fds[0].revents & (POLLIN | POLLHUP)) != 0) {
            const ssize_t got = read(client, buffer, sizeof(buffer));
            if (got <= 0) {
                break;
            }
            if (!stopped) {
                mapped = mapped ||
                         (stallsHere && line.stallAfterMap && maps.Sees(buffer, static_cast<size_t>(got)));
                requests.push_back(
                    {Clock::now() + line.requestDelay, std::string(buffer, static_cast<size_t>(got))});
            }
        }
        if ((fds[1].revents & (POLLIN | POLLHUP)) != 0) {
            const ssize_t got = read(server, buffer, sizeof(buffer));
            if (got <= 0) {
                break;
            }
            answers.push_back(
                {Clock::now() + line.answerDelay, std::string(buffer, static_cast<size_t>(got))});
        }
        while (stalled == 0 && !requests.empty() && requests.front().due <= Clock::now()) {
            WriteAll(server, requests.front().bytes.data(), requests.front().bytes.size());
            requests.pop_front();
        }
        while (stalled == 0 && !(stallsHere && mapped) && !answers.empty() &&
               answers.front().due <= Clock::now()) {
            size_t size = answers.front().bytes.size();
            if (stallsHere && !line.stallAfterMap) {
                size = std::min(size, line.stallAfter - std::min(line.stallAfter, answered));
                if (size == 0) {
                    break;
                }
            }
            WriteAll(client, answers.front().bytes.data(), size);
            answered += size;
            answers.front().bytes.erase(0, size);
            if (answers.front().bytes.empty()) {
                answers.pop_front();
            }
        }
    }
    std::fprintf(stderr, "connection %d: %zu bytes of answers\n", number, answered);
    close(server);
    close(client);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: slow_display <X display number> <delay in ms> [both] "
                             "[stall <connection> <bytes>]\n");
        return 2;
    }
    const int display = std::atoi(argv[1]);
    Line line;
    line.answerDelay = std::chrono::milliseconds(std::atoi(argv[2]));
    for (int arg = 3; arg < argc; ++arg) {
        if (std::strcmp(argv[arg], "both") == 0) {
            line.requestDelay = line.answerDelay;
        } else if (std::strcmp(argv[arg], "stall") == 0 && arg + 2 < argc) {
            line.stallConnection = std::atoi(argv[arg + 1]);
            line.stallAfterMap = std::strcmp(argv[arg + 2], "map") == 0;
            line.stallAfter = static_cast<size_t>(std::atol(argv[arg + 2]));
            arg += 2;
        } else {
            std::fprintf(stderr, "slow_display: unknown argument %s\n", argv[arg]);
            return 2;
        }
    }
    std::signal(SIGUSR1, OnStall);
    std::signal(SIGPIPE, SIG_IGN);
    int number = 0;
    const int listener = ListenOnFreeXPort(number);
    if (listener < 0) {
        return 1;
    }
    std::printf("%d\n", number);
    std::fflush(stdout);
    for (int connections = 1;; ++connections) {
        const int client = accept(listener, nullptr, nullptr);
        if (client >= 0) {
            std::thread(Relay, client, display, line, connections).detach();
        } else {
            --connections;
        }
    }
}
