// Asks the X server a DISPLAY names whether it takes the game: connects as libxcb would and
// greets it with the cookie libxcb would offer.
#include "app/x_server_probe.h"

#include "app/launcher_link.h"
#include "app/monotonic_clock.h"
#include "app/x_cookies.h"

#include <netdb.h>
#include <poll.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace {

// How long the game looks into a display that could not be opened, all steps together.
constexpr long long kLookMs = 2000;

int MsLeft(long long deadline)
{
    const long long left = deadline - ProcessGuard::MonotonicMs();
    return left > 0 ? static_cast<int>(left) : 0;
}

// A connected socket to the address, or -1 with errno telling why; never waits past the deadline.
int ConnectBy(const sockaddr* address, socklen_t length, long long deadline)
{
    const int fd = socket(address->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (connect(fd, address, length) == 0) {
        return fd;
    }
    int error = errno;
    if (error == EINPROGRESS) {
        pollfd done{fd, POLLOUT, 0};
        socklen_t size = sizeof(error);
        if (poll(&done, 1, MsLeft(deadline)) != 1) {
            error = ETIMEDOUT;
        } else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
            error = errno;
        }
        if (error == 0) {
            return fd;
        }
    }
    close(fd);
    errno = error;
    return -1;
}

// The X server's local socket, first in the abstract namespace as libxcb tries it, then the file.
int ConnectLocal(const std::string& path, long long deadline)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() + 1 >= sizeof(address.sun_path)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    path.copy(address.sun_path + 1, path.size());
    const auto abstractLength = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
    const int fd = ConnectBy(reinterpret_cast<const sockaddr*>(&address), abstractLength, deadline);
    if (fd >= 0 || (errno != ENOENT && errno != ECONNREFUSED)) {
        return fd;
    }
    std::fill(std::begin(address.sun_path), std::end(address.sun_path), '\0');
    path.copy(address.sun_path, path.size());
    return ConnectBy(reinterpret_cast<const sockaddr*>(&address), sizeof(address), deadline);
}

// The X server's TCP port on the host; on failure, why, in words.
int ConnectTcp(const std::string& host, unsigned port, long long deadline, std::string& why)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int looked = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (looked != 0) {
        why = "its host " + ProcessGuard::Shown(host) + " cannot be found (" + gai_strerror(looked) + ")";
        return -1;
    }
    int fd = -1;
    int error = ECONNREFUSED;
    for (const addrinfo* each = found; each != nullptr && fd < 0; each = each->ai_next) {
        fd = ConnectBy(each->ai_addr, each->ai_addrlen, deadline);
        error = errno;
    }
    freeaddrinfo(found);
    if (fd < 0) {
        why = std::string(error == ECONNREFUSED ? "no X server listens there"
                                                : "no X server can be reached there") +
              " (" + ProcessGuard::Shown(host) + " port " + std::to_string(port) + ": " +
              std::strerror(error) + ")";
    }
    return fd;
}

bool SendAll(int fd, const std::string& bytes, long long deadline)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        pollfd room{fd, POLLOUT, 0};
        if (poll(&room, 1, MsLeft(deadline)) != 1) {
            return false;
        }
        const ssize_t now = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (now < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        sent += now > 0 ? static_cast<std::size_t>(now) : 0;
    }
    return true;
}

bool ReceiveAll(int fd, char* bytes, std::size_t length, long long deadline)
{
    std::size_t got = 0;
    while (got < length) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, MsLeft(deadline)) != 1) {
            return false;
        }
        const ssize_t now = recv(fd, bytes + got, length - got, 0);
        if (now == 0 || (now < 0 && errno != EAGAIN && errno != EINTR)) {
            return false;
        }
        got += now > 0 ? static_cast<std::size_t>(now) : 0;
    }
    return true;
}

bool AboutCookies(const std::string& reason)
{
    for (const char* word : {"authori", "cookie", "protocol specified"}) {
        if (strcasestr(reason.c_str(), word) != nullptr) {
            return true;
        }
    }
    return false;
}

// Greets the X server as a client does, with the cookie libxcb would offer: what the server
// answers when it turns the game away, and what is wrong with the cookie. Empty when the
// server takes the game or does not say.
std::string WhyRefused(int fd, const std::string& number, long long deadline)
{
    const ProcessGuard::Cookie cookie = ProcessGuard::CookieFor(fd, number);
    const std::string name = cookie.data.empty() ? std::string() : std::string(ProcessGuard::kCookieName);
    const auto padded = [](std::string bytes) {
        bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
        return bytes;
    };
    // Little-endian, protocol 11.0, then the lengths of the cookie's name and data.
    std::string greeting{'l', '\0', 11, 0, 0, 0};
    for (const std::size_t length : {name.size(), cookie.data.size()}) {
        greeting += static_cast<char>(length & 0xff);
        greeting += static_cast<char>(length >> 8);
    }
    greeting += std::string(2, '\0') + padded(name) + padded(cookie.data);
    char answer[8] = {};
    if (!SendAll(fd, greeting, deadline) || !ReceiveAll(fd, answer, sizeof(answer), deadline)) {
        return "";
    }
    // 0: refused, with the reason's length in the second byte; 2: more authentication
    // wanted, the reason filling the answer's length (in 4-byte units, bytes 6 and 7).
    const auto byte = [&answer](std::size_t at) {
        return std::size_t{static_cast<unsigned char>(answer[at])};
    };
    const std::size_t status = byte(0);
    const std::size_t extra = (byte(6) + byte(7) * 256) * 4;
    const std::size_t length = status == 0 ? byte(1) : extra;
    if (status != 0 && status != 2) {
        return "";
    }
    std::string reason(std::min(length, extra), '\0');
    if (!ReceiveAll(fd, reason.data(), reason.size(), deadline)) {
        reason.clear();
    }
    reason.erase(reason.find_last_not_of(std::string("\0\n ", 3)) + 1);
    std::string why =
        "the X server refused the game" + (reason.empty() ? "" : ": " + ProcessGuard::Shown(reason));
    if (reason.empty() || AboutCookies(reason)) {
        why += cookie.data.empty() ? " (" + cookie.missing + ")"
                                   : " (the cookie for it in " + ProcessGuard::FindCookieFile().name +
                                         " is not the server's)";
    }
    return why;
}

}  // namespace

namespace ProcessGuard {

std::optional<XAddress> ParseXDisplay(const std::string& display)
{
    const size_t colon = display.rfind(':');
    size_t digits = colon == std::string::npos ? 0 : colon + 1;
    const size_t numberStart = digits;
    while (digits < display.size() && std::isdigit(static_cast<unsigned char>(display[digits])) != 0) {
        ++digits;
    }
    if (colon == std::string::npos || digits == numberStart ||
        (digits < display.size() && display[digits] != '.')) {
        return std::nullopt;
    }
    XAddress address{display.substr(0, colon), display.substr(numberStart, digits - numberStart)};
    std::string& host = address.host;
    address.local = host.empty() || host == "unix" || host.starts_with("unix/");
    if (host.starts_with("tcp/") || host.starts_with("inet/") || host.starts_with("inet6/")) {
        host.erase(0, host.find('/') + 1);
    }
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    return address;
}

std::string LocalSocket(const XAddress& address)
{
    return "/tmp/.X11-unix/X" + address.number;
}

std::string WhyNoXDisplay(const std::string& display)
{
    const std::optional<XAddress> address = ParseXDisplay(display);
    if (!address) {
        return "that is not a display name (host:number, such as :0)";
    }
    const std::string& host = address->host;
    const std::string& number = address->number;
    const bool local = address->local;
    // X's TCP ports start at 6000; a number past the last port has none.
    const unsigned port = number.size() <= 5 ? 6000U + static_cast<unsigned>(std::stoul(number)) : 65536U;
    const long long deadline = MonotonicMs() + kLookMs;
    std::string why;
    int fd = -1;
    if (local) {
        const std::string socket = LocalSocket(*address);
        fd = ConnectLocal(socket, deadline);
        const int error = errno;
        // libxcb goes on to this machine's TCP port when the socket fails and no host is named.
        if (fd < 0 && host.empty() && port <= 65535) {
            std::string ignored;
            fd = ConnectTcp("localhost", port, deadline, ignored);
        }
        struct stat status {};
        if (fd < 0 && stat(socket.c_str(), &status) != 0) {
            return "no X server listens there (" + Shown(socket) + " does not exist)";
        }
        if (fd < 0) {
            return "no X server listens there (" + Shown(socket) + ": " + std::strerror(error) + ")";
        }
    } else if (port > 65535) {
        return "no X server can listen there (a display reached over TCP has a number up to 59535)";
    } else {
        fd = ConnectTcp(host, port, deadline, why);
        if (fd < 0) {
            return why;
        }
    }
    why = WhyRefused(fd, number, deadline);
    close(fd);
    return why;
}

}  // namespace ProcessGuard
