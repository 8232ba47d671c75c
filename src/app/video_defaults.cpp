// The game's presentation defaults, set in the environment SDL reads when it starts.
#include "app/video_defaults.h"

#include <strings.h>

#include <cstdlib>
#include <initializer_list>

namespace {

bool Is(const char* name, std::initializer_list<const char*> values)
{
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return false;
    }
    for (const char* wanted : values) {
        if (strcasecmp(value, wanted) == 0) {
            return true;
        }
    }
    return false;
}

// Whether every setting of the presentation path, the user's or the game's, says software.
bool PresentsInSoftware()
{
    return Is("SDL12COMPAT_OPENGL_SCALING", {"0", "false"}) &&
           Is("SDL_FRAMEBUFFER_ACCELERATION", {"0", "false", "software"}) &&
           Is("SDL_RENDER_DRIVER", {"software"});
}

}  // namespace

void SetVideoDefaults()
{
    // The last argument 0 keeps a value the user has already set.
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    if (PresentsInSoftware() && std::getenv("SDL_VIDEO_GL_DRIVER") == nullptr) {
        // A file that is no library: loading OpenGL fails at once, and sdl12-compat opens its
        // window without it. SDL 2 reads the same setting, and the classic SDL library only
        // for programs that draw with OpenGL, which the game does not.
        setenv("SDL_OPENGL_LIBRARY", "/dev/null", 0);
    }
}
