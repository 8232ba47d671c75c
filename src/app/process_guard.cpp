// Quit signals, the choice of video driver, and the end of the X connection.
#include "app/process_guard.h"

#include <SDL.h>

#include <dlfcn.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

struct _XDisplay;  // Xlib's Display; only its address is passed around

namespace {

volatile std::sig_atomic_t quitSignal = 0;

extern "C" void OnQuitSignal(int /*signal*/)
{
    quitSignal = 1;
}

// Xlib calls this when the connection to the X server breaks; it must not return.
extern "C" int OnLostDisplay(_XDisplay* /*display*/)
{
    _exit(ProcessGuard::kLostDisplayStatus);
}

}  // namespace

namespace ProcessGuard {

void CatchQuitSignals()
{
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

bool TakeQuitSignal()
{
    if (quitSignal == 0) {
        return false;
    }
    quitSignal = 0;
    return true;
}

bool OnVisibleDisplay()
{
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked != nullptr && asked[0] != '\0') {
        return true;
    }
    char name[64] = "";
    if (SDL_VideoDriverName(name, sizeof(name)) == nullptr) {
        return false;
    }
    return std::strcmp(name, "offscreen") != 0 && std::strcmp(name, "dummy") != 0;
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

}  // namespace ProcessGuard
