// The display's name, what is wrong with it, whether anybody sees the window, and the end of
// the X connection.
#include "app/display_checks.h"

#include "app/launcher_link.h"
#include "app/video_driver.h"
#include "app/x_server_probe.h"

#include <SDL.h>

#include <dlfcn.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
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

}  // namespace ProcessGuard
