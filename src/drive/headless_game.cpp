// Headless start-up shared by the tools and benchmarks.
#include "drive/headless_game.h"

#include "app/shooter.h"
#include "drive/input.h"

#include <cstdio>
#include <cstdlib>

namespace Drive {

bool StartHeadless(Shooter& game, const char* tool)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!game.OnInit()) {
        std::fprintf(stderr, "%s: the game did not start (run it from the repository root): %s\n", tool,
                     SDL_GetError());
        return false;
    }
    return true;
}

bool StartLevel(Shooter& game, unsigned seed)
{
    game.SetLevelSeed(seed);
    Input(game).Click(kStartButtonX, kStartButtonY);
    return game.gameState == GameState::Playing;
}

}  // namespace Drive
