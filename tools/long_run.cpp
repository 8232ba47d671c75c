// A long session without a player: 100,000 frames (about 17 minutes of game time) on a seeded
// level, a shot every 10 frames, every animal in turn, each cow and sheep followed by its
// second click. Prints the resident memory every 10,000 frames, and how much it grew after
// the first 10,000 (the warm-up). Run from the repository root; headless on SDL's dummy driver.
// Usage: long_run [frames] [seed]
#include "app/shooter.h"
#include "drive/headless_game.h"
#include "drive/input.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr int kShotEvery = 10;        // frames
constexpr int kSecondClickAfter = 5;  // frames after a cow or a sheep was fired
constexpr int kReportEvery = 10000;   // frames
constexpr int kWarmUp = 10000;        // frames before growth counts

// Resident memory of this process in KiB, from /proc.
long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 100000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1234u;

    Shooter game;
    if (!Drive::StartHeadless(game, "long_run")) {
        return 1;
    }
    if (!Drive::StartLevel(game, seed)) {
        std::fprintf(stderr, "long_run: the start button did not start the game\n");
        game.OnCleanup();
        return 1;
    }

    // Into SDL's queue, handled by the next frame as a player's input is.
    const Drive::Input input;
    const SDLKey kinds[] = {SDLK_z, SDLK_x, SDLK_c};
    long warmedUp = -1;
    long last = -1;
    std::printf("%8s %14s\n", "frame", "resident KiB");
    for (int frame = 1; frame <= frames; ++frame) {
        const int shot = frame / kShotEvery;
        if (frame % kShotEvery == 0) {
            // Throws of varying strength up and to the right, and some dropped at the muzzle.
            const int drag = (shot * 37) % 120;
            input.Key(kinds[shot % 3]);
            input.Shoot(500, 300, -drag, drag / 2);
        } else if (frame % kShotEvery == kSecondClickAfter && game.aimState == AimState::WaitingForAction) {
            input.Click(600, 300);
        }
        game.RunFrame();
        if (frame % kReportEvery == 0) {
            last = ResidentKiB();
            if (frame == kWarmUp) {
                warmedUp = last;
            }
            std::printf("%8d %14ld\n", frame, last);
            std::fflush(stdout);
        }
    }
    if (warmedUp >= 0) {
        std::printf("growth after frame %d: %ld KiB\n", kWarmUp, last - warmedUp);
    }
    game.OnCleanup();
    return 0;
}
