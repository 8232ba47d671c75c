// A long session without a player: 100,000 frames (about 17 minutes of game time) on a seeded
// level, a shot every 10 frames, every animal in turn, each cow and sheep followed by its
// second click. Prints the resident memory every 10,000 frames, and how much it grew after
// the first 10,000 (the warm-up). Run from the repository root; headless on SDL's dummy driver.
// Usage: long_run [frames] [seed]
#include "app/shooter.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr int kShotEvery = 10;       // frames
constexpr int kSecondClickAfter = 5; // frames after a cow or a sheep was fired
constexpr int kReportEvery = 10000;  // frames
constexpr int kWarmUp = 10000;       // frames before growth counts

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

void Push(Uint8 type, int x, int y, int relX = 0, int relY = 0)
{
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.type = type;
        event.motion.state = SDL_BUTTON_LMASK;
        event.motion.x = static_cast<Uint16>(x);
        event.motion.y = static_cast<Uint16>(y);
        event.motion.xrel = static_cast<Sint16>(relX);
        event.motion.yrel = static_cast<Sint16>(relY);
    } else if (type == SDL_KEYDOWN) {
        event.key.type = type;
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = static_cast<SDLKey>(x);
    } else {
        event.button.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = static_cast<Uint16>(x);
        event.button.y = static_cast<Uint16>(y);
    }
    SDL_PushEvent(&event);
}

} // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const int frames = argc > 1 ? std::atoi(argv[1]) : 100000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1234u;

    Shooter game;
    if (!game.OnInit()) {
        std::fprintf(stderr, "start-up failed; run from the repository root\n");
        return 1;
    }
    game.SetLevelSeed(seed);
    Push(SDL_MOUSEBUTTONDOWN, 500, 216); // the start button
    Push(SDL_MOUSEBUTTONUP, 500, 216);

    const SDLKey kinds[] = {SDLK_z, SDLK_x, SDLK_c};
    long warmedUp = -1;
    long last = -1;
    std::printf("%8s %14s\n", "frame", "resident KiB");
    for (int frame = 1; frame <= frames; ++frame) {
        const int shot = frame / kShotEvery;
        if (frame % kShotEvery == 0) {
            // Throws of varying strength up and to the right, and some dropped at the muzzle.
            const int drag = (shot * 37) % 120;
            Push(SDL_KEYDOWN, kinds[shot % 3], 0);
            Push(SDL_MOUSEBUTTONDOWN, 500, 300);
            Push(SDL_MOUSEMOTION, 500 - drag, 300 + drag / 2, -drag, drag / 2);
            Push(SDL_MOUSEBUTTONUP, 500 - drag, 300 + drag / 2);
        } else if (frame % kShotEvery == kSecondClickAfter && game.aimState == AimState::WaitingForAction) {
            Push(SDL_MOUSEBUTTONDOWN, 600, 300);
            Push(SDL_MOUSEBUTTONUP, 600, 300);
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
