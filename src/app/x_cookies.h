// The display's cookie as the X libraries find it.
#pragma once

#include <string>
#include <string_view>

namespace ProcessGuard {

// The file the X libraries read the display's cookie from, as the player would name it.
struct CookieFile {
    std::string path;
    std::string name;
};
CookieFile FindCookieFile();

// The cookie libxcb would offer the server, from the cookie file: its state in words for the
// player (the file cannot be read, it holds none for this display) when there is none.
struct Cookie {
    std::string data;
    std::string missing;
};
constexpr std::string_view kCookieName = "MIT-MAGIC-COOKIE-1";

// What libxcb would look the cookie up by, for a socket connected to the X server: a server on
// this machine by the machine's name, another by its address.
Cookie CookieFor(int fd, const std::string& number);

// Before the display is opened: why the file the X libraries read the display's cookie from
// (XAUTHORITY, else ~/.Xauthority) would hold them up for ever: a device that never ends, a
// named pipe. A file that is merely missing or unreadable is no reason: a server without
// access control takes the game without a cookie. Empty otherwise.
std::string WhyNoCookieFile();

}  // namespace ProcessGuard
