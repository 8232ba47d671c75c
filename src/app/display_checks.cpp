// The display's name, what is wrong with it, and the end of the X connection.
#include "app/display_checks.h"

#include "app/display_watchdog.h"
#include "app/launcher_link.h"
#include "app/monotonic_clock.h"

#include <SDL.h>

#include <arpa/inet.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <string.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

struct _XDisplay;  // Xlib's Display; only its address is passed around

namespace {

// What the game tells the launcher when its X server goes, made before play, and where to.
std::string lostLine;
int lostFd = -1;

// Xlib calls this when the connection to the X server breaks; it must not return.
extern "C" int OnLostDisplay(_XDisplay* /*display*/)
{
    if (lostFd >= 0) {
        ProcessGuard::WriteToLauncher(lostFd, lostLine.data(), lostLine.size());
    }
    _exit(ProcessGuard::kLostDisplayStatus);
}

bool IsFolder(const char* path)
{
    struct stat status {};
    return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

// Without DISPLAY the game can only open a Wayland window, and that needs the runtime folder.
std::string WhyNoWaylandDisplay()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/' || !IsFolder(runtime)) {
        return "XDG_RUNTIME_DIR, where Wayland's socket is, is not set or not a folder";
    }
    return "";
}

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

// The file the X libraries read the display's cookie from, as the player would name it.
struct CookieFile {
    std::string path;
    std::string name;
};

CookieFile FindCookieFile()
{
    const char* chosen = std::getenv("XAUTHORITY");
    if (chosen != nullptr && chosen[0] != '\0') {
        return {chosen, "XAUTHORITY=" + ProcessGuard::Shown(chosen)};
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        return {};
    }
    const std::string path = std::string(home) + "/.Xauthority";
    return {path, ProcessGuard::Shown(path)};
}

// The cookie libxcb would offer the server, from the cookie file: its state in words for the
// player (the file cannot be read, it holds none for this display) when there is none.
struct Cookie {
    std::string data;
    std::string missing;
};

constexpr std::string_view kCookieName = "MIT-MAGIC-COOKIE-1";
constexpr unsigned kFamilyInternet = 0;
constexpr unsigned kFamilyInternet6 = 6;
constexpr unsigned kFamilyLocal = 256;
constexpr unsigned kFamilyWild = 65535;
// A cookie file is a few hundred bytes; more than this is not read.
constexpr std::size_t kCookieFileBytes = 1 << 20;

// family: kFamilyLocal with this machine's name for a local server, else the server's address.
Cookie FindCookie(unsigned family, const std::string& address, const std::string& number)
{
    const CookieFile file = FindCookieFile();
    if (file.path.empty()) {
        return {"", "neither XAUTHORITY nor HOME is set, so the game has no cookie for it"};
    }
    const int fd = open(file.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return {"", file.name + " cannot be read: " + std::strerror(errno)};
    }
    std::string content;
    char block[4096];
    ssize_t got = 0;
    while (content.size() < kCookieFileBytes && (got = read(fd, block, sizeof(block))) > 0) {
        content.append(block, static_cast<std::size_t>(got));
    }
    const int error = errno;
    close(fd);
    if (got < 0) {
        return {"", file.name + " cannot be read: " + std::strerror(error)};
    }
    // Each entry: family, then address, display number, cookie name and cookie, each a
    // big-endian 16-bit length and that many bytes.
    std::size_t at = 0;
    const auto number16 = [&](unsigned& value) {
        if (at + 2 > content.size()) {
            return false;
        }
        value = static_cast<unsigned char>(content[at]) * 256U + static_cast<unsigned char>(content[at + 1]);
        at += 2;
        return true;
    };
    const auto field = [&](std::string& value) {
        unsigned length = 0;
        if (!number16(length) || at + length > content.size()) {
            return false;
        }
        value = content.substr(at, length);
        at += length;
        return true;
    };
    unsigned entryFamily = 0;
    std::string entryAddress;
    std::string entryNumber;
    std::string name;
    std::string data;
    while (number16(entryFamily) && field(entryAddress) && field(entryNumber) && field(name) && field(data)) {
        const bool forHost = entryFamily == kFamilyWild || (entryFamily == family && entryAddress == address);
        if (forHost && (entryNumber.empty() || entryNumber == number) && name == kCookieName) {
            return {data, ""};
        }
    }
    return {"", file.name + " holds no cookie for it"};
}

// What libxcb would look the cookie up by, for a connected socket: a server on this machine by
// the machine's name, another by its address.
Cookie CookieFor(int fd, const std::string& number)
{
    sockaddr_storage peer{};
    socklen_t size = sizeof(peer);
    std::string address;
    unsigned family = kFamilyLocal;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) == 0) {
        if (peer.ss_family == AF_INET) {
            const auto& inet = reinterpret_cast<const sockaddr_in&>(peer);
            if (ntohl(inet.sin_addr.s_addr) != INADDR_LOOPBACK) {
                family = kFamilyInternet;
                address.assign(reinterpret_cast<const char*>(&inet.sin_addr), sizeof(inet.sin_addr));
            }
        } else if (peer.ss_family == AF_INET6) {
            const auto& inet6 = reinterpret_cast<const sockaddr_in6&>(peer);
            if (IN6_IS_ADDR_V4MAPPED(&inet6.sin6_addr)) {
                const char* v4 = reinterpret_cast<const char*>(&inet6.sin6_addr) + 12;
                if (static_cast<unsigned char>(v4[0]) != 127) {
                    family = kFamilyInternet;
                    address.assign(v4, 4);
                }
            } else if (!IN6_IS_ADDR_LOOPBACK(&inet6.sin6_addr)) {
                family = kFamilyInternet6;
                address.assign(reinterpret_cast<const char*>(&inet6.sin6_addr), sizeof(inet6.sin6_addr));
            }
        }
    }
    if (family == kFamilyLocal) {
        char host[256] = "";
        gethostname(host, sizeof(host) - 1);
        address = host;
    }
    return FindCookie(family, address, number);
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
    const Cookie cookie = CookieFor(fd, number);
    const std::string name = cookie.data.empty() ? std::string() : std::string(kCookieName);
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
        why += cookie.data.empty()
                   ? " (" + cookie.missing + ")"
                   : " (the cookie for it in " + FindCookieFile().name + " is not the server's)";
    }
    return why;
}

// A DISPLAY value taken apart: [protocol/]host:number[.screen].
struct XAddress {
    std::string host;
    std::string number;
    bool local = false;
};

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

// [host]:number[.screen]: whether anything listens there and, if so, why it turns the game away.
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
    const long long deadline = ProcessGuard::MonotonicMs() + kLookMs;
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
            return "no X server listens there (" + ProcessGuard::Shown(socket) + " does not exist)";
        }
        if (fd < 0) {
            return "no X server listens there (" + ProcessGuard::Shown(socket) + ": " + std::strerror(error) +
                   ")";
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

}  // namespace

namespace ProcessGuard {

bool OnVisibleDisplay()
{
    if (UserChoseVideoDriver()) {
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
    lostLine = DisplayName() + " was lost: its X server went away or closed the game's connection\n";
    lostFd = LauncherDescriptor();
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
        return "Wayland display WAYLAND_DISPLAY=" + Shown(wayland);
    }
    return "display DISPLAY=" + Shown(x != nullptr ? x : "");
}

std::string WhyNoDisplay()
{
    const char* value = std::getenv("DISPLAY");
    if (value == nullptr || value[0] == '\0') {
        return WhyNoWaylandDisplay();
    }
    return WhyNoXDisplay(value);
}

bool DisplayPlainlyAbsent()
{
    const char* value = std::getenv("DISPLAY");
    if (value == nullptr || value[0] == '\0') {
        return true;
    }
    const std::optional<XAddress> address = ParseXDisplay(value);
    struct stat status {};
    return !address || (address->local && stat(LocalSocket(*address).c_str(), &status) != 0);
}

std::string WhyNoCookieFile()
{
    // Only a game that opens its window on X reads the file.
    const char* display = std::getenv("DISPLAY");
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (display == nullptr || display[0] == '\0' ||
        (driver != nullptr && driver[0] != '\0' && strcasecmp(driver, "x11") != 0)) {
        return "";
    }
    const CookieFile file = FindCookieFile();
    struct stat status {};
    if (file.path.empty() || stat(file.path.c_str(), &status) != 0) {
        return "";  // no file: a server without access control takes the game all the same
    }
    // Regular files, folders (read as empty), sockets (not opened) and /dev/null end at once.
    const char* what = S_ISFIFO(status.st_mode)  ? "a named pipe"
                       : S_ISBLK(status.st_mode) ? "a disk"
                       : S_ISCHR(status.st_mode) && status.st_rdev != makedev(1, 3)
                           ? "a device that may never end"
                           : nullptr;
    if (what == nullptr) {
        return "";
    }
    return file.name + " is " + what + ", not a file of cookies";
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
