// The display's cookie as the X libraries find it: the file they read, the cookie in it for a
// server, and a file that would hold them up.
#include "app/x_cookies.h"

#include "app/launcher_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

constexpr unsigned kFamilyInternet = 0;
constexpr unsigned kFamilyInternet6 = 6;
constexpr unsigned kFamilyLocal = 256;
constexpr unsigned kFamilyWild = 65535;
// A cookie file is a few hundred bytes; more than this is not read.
constexpr std::size_t kCookieFileBytes = 1 << 20;

// The first kCookieFileBytes of the file into content: 0, or errno when it cannot be read.
int ReadCookieFile(const std::string& path, std::string& content)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno;
    }
    char block[4096];
    ssize_t got = 0;
    while (content.size() < kCookieFileBytes && (got = read(fd, block, sizeof(block))) > 0) {
        content.append(block, static_cast<std::size_t>(got));
    }
    const int error = errno;
    close(fd);
    return got < 0 ? error : 0;
}

// The cookie for the server in the file's content: each entry a family, then address, display
// number, cookie name and cookie, each a big-endian 16-bit length and that many bytes.
bool FindEntry(const std::string& content, unsigned family, const std::string& address,
               const std::string& number, std::string& data)
{
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
    while (number16(entryFamily) && field(entryAddress) && field(entryNumber) && field(name) && field(data)) {
        const bool forHost = entryFamily == kFamilyWild || (entryFamily == family && entryAddress == address);
        if (forHost && (entryNumber.empty() || entryNumber == number) && name == ProcessGuard::kCookieName) {
            return true;
        }
    }
    return false;
}

// family: kFamilyLocal with this machine's name for a local server, else the server's address.
ProcessGuard::Cookie FindCookie(unsigned family, const std::string& address, const std::string& number)
{
    const ProcessGuard::CookieFile file = ProcessGuard::FindCookieFile();
    if (file.path.empty()) {
        return {"", "neither XAUTHORITY nor HOME is set, so the game has no cookie for it"};
    }
    std::string content;
    const int error = ReadCookieFile(file.path, content);
    if (error != 0) {
        return {"", file.name + " cannot be read: " + std::strerror(error)};
    }
    std::string data;
    if (FindEntry(content, family, address, number, data)) {
        return {data, ""};
    }
    return {"", file.name + " holds no cookie for it"};
}

}  // namespace

namespace ProcessGuard {

CookieFile FindCookieFile()
{
    const char* chosen = std::getenv("XAUTHORITY");
    if (chosen != nullptr && chosen[0] != '\0') {
        return {chosen, "XAUTHORITY=" + Shown(chosen)};
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        return {};
    }
    const std::string path = std::string(home) + "/.Xauthority";
    return {path, Shown(path)};
}

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

}  // namespace ProcessGuard
