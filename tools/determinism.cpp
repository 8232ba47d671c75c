// The same seed and the same clicks must play the same game on every build and every machine:
// plays a seeded level headless for 30 s of game time with a fixed script of clicks (every
// animal, their tricks, shots dropped at the muzzle, weak and strong throws, a burst that piles
// up at the muzzle), through SDL's event queue and the game's own handlers as a player's clicks
// go, and prints, every 100 frames, a hash of every body's position, angle and velocity (their
// raw float bits) in the field's own order: blocks, shots, balls, the cannon.
// Usage: determinism [seed] [frames] [every]   (from the repository root; defaults 31, 3000, 100)
#include "app/shooter.h"
#include "determinism_script.h"
#include "drive/headless_game.h"
#include "drive/input.h"
#include "field/map.h"

#include <SDL.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const unsigned seed = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : Determinism::kSeed;
    const int frames = argc > 2 ? std::atoi(argv[2]) : Determinism::kFrames;
    const int every = argc > 3 ? std::max(1, std::atoi(argv[3])) : Determinism::kReportEvery;

    Shooter game;
    if (!Drive::StartHeadless(game, "determinism")) {
        return 1;
    }
    if (!Drive::StartLevel(game, seed)) {
        std::fprintf(stderr, "determinism: the start button did not start the game\n");
        game.OnCleanup();
        return 1;
    }

    // Into SDL's queue, handled by the next frame as a player's input is.
    // Frame 0: the level as generated, before any step.
    std::printf("0 %016" PRIx64 "\n", Determinism::HashField(game.CurrentMap()));
    const Drive::Input input;
    const SDLKey keys[] = {SDLK_z, SDLK_x, SDLK_c};
    int shots = 0;
    for (int frame = 1; frame <= frames; ++frame) {
        const Determinism::Step step =
            Determinism::At(frame, shots, game.aimState == AimState::WaitingForAction);
        if (step.what == Determinism::Step::Shot) {
            input.Key(keys[step.kind]);
            input.Shoot(500, 300, step.dx, step.dy, 2);
        } else if (step.what == Determinism::Step::Trick) {
            input.Click(600, 300);
        }
        game.RunFrame();
        if (frame % every == 0) {
            std::printf("%d %016" PRIx64 "\n", frame, Determinism::HashField(game.CurrentMap()));
        }
    }
    game.OnCleanup();
    return 0;
}
