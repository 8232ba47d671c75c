// The game's presentation defaults, set in the environment SDL reads when it starts.
#include "app/video_defaults.h"

#include <cstdlib>

void SetVideoDefaults()
{
    // The last argument 0 keeps a value the user has already set.
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
}
