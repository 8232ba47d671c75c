// Measures how long one frame of rules and one frame of drawing take on a seeded level.
// Run from the repository root (the game reads ./bmp/); headless on SDL's dummy driver.
#include "app/shooter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

struct Summary {
    double mean = 0.0;
    double median = 0.0;
    double worst = 0.0;
};

Summary Summarise(std::vector<double> samples)
{
    Summary s;
    if (samples.empty()) {
        return s;
    }
    double total = 0.0;
    for (double v : samples) {
        total += v;
    }
    s.mean = total / static_cast<double>(samples.size());
    std::sort(samples.begin(), samples.end());
    s.median = samples[samples.size() / 2];
    s.worst = samples.back();
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const int frames = argc > 1 ? std::atoi(argv[1]) : 3000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1234u;

    Shooter game;
    if (!game.OnInit()) {
        std::fprintf(stderr, "start-up failed; run from the repository root\n");
        return 1;
    }
    game.SetLevelSeed(seed);
    game.OnLButtonDown(500, 216);  // the start button

    std::vector<double> loop;
    std::vector<double> render;
    loop.reserve(static_cast<size_t>(frames));
    render.reserve(static_cast<size_t>(frames));
    for (int frame = 0; frame < frames; ++frame) {
        // A shot every second of game time keeps projectiles and contacts in play.
        if (frame % 100 == 50 && game.gameState == GameState::Playing) {
            game.projectileKind = (frame / 100) % 3;
            game.aimState = AimState::Idle;
            game.OnLButtonDown(100, 100);
            game.OnMouseMove(20, 140, -80, 40, true, false, false);
            game.OnLButtonUp(20, 140);
        }
        const auto t0 = Clock::now();
        game.OnLoop();
        const auto t1 = Clock::now();
        game.OnRender();
        const auto t2 = Clock::now();
        loop.push_back(Micros(t1 - t0));
        render.push_back(Micros(t2 - t1));
    }

    const Summary l = Summarise(loop);
    const Summary r = Summarise(render);
    std::printf("frames %d, seed %u, blocks left %u\n", frames, seed, game.CurrentMap().BlockCount());
    std::printf("rules  (OnLoop)  : mean %8.1f us  median %8.1f us  worst %8.1f us\n", l.mean, l.median, l.worst);
    std::printf("drawing (OnRender): mean %8.1f us  median %8.1f us  worst %8.1f us\n", r.mean, r.median, r.worst);
    std::printf("frame budget 10000 us (one 0.01 s physics step per frame)\n");
    game.OnCleanup();
    return 0;
}
