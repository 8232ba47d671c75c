// The display's name, what is wrong with it, and the end of the X connection.
#include "app/display_checks.h"

#include "app/display_watchdog.h"

#include <SDL.h>

#include <dlfcn.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>

struct _XDisplay;  // Xlib's Display; only its address is passed around

namespace {

// Xlib calls this when the connection to the X server breaks; it must not return.
extern "C" int OnLostDisplay(_XDisplay* /*display*/)
{
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

// [host]:number[.screen]; for a display on this machine, also whether its socket exists.
std::string WhyNoXDisplay(const std::string& display)
{
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
        return WhyNoWaylandDisplay();
    }
    return WhyNoXDisplay(value);
}

}  // namespace ProcessGuard
