// Measures a frame's rules and drawing against their floors, scenario by scenario: the rules
// (OnLoop) against Box2D's own time for the bare step of the same world in the same frame, the
// drawing (OnRender) against the same blits and flip of a full redraw done without any game
// code; and the share of the window the game redrew per frame.
// Run from the repository root (the game reads ./bmp/); headless on SDL's dummy driver.
//   frame_bench [frames] [seed] [scenario name part]
//   frame_bench clicker [clicks a second] [seconds] [first seed] [seeds] [CPU budget s a run]
#include "app/shooter.h"
#include "assets/asset_catalog.h"
#include "assets/cimage.h"
#include "drive/headless_game.h"
#include "drive/input.h"
#include "field/map.h"
#include "field/projectile.h"
#include "gameplay/firing_rules.h"
#include "render/screen_mapping.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

int refusedShots = 0;  // shots the game refused: they appeared on a shot of the same frame

double CpuMillis()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double WallMillis()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(now).count();
}

struct Stats {
    double mean = 0.0;
    double p99 = 0.0;
    double worst = 0.0;
};

Stats Summarise(std::vector<double> samples)
{
    Stats s;
    if (samples.empty()) {
        return s;
    }
    double total = 0.0;
    for (double v : samples) {
        total += v;
    }
    s.mean = total / static_cast<double>(samples.size());
    std::sort(samples.begin(), samples.end());
    s.p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
    s.worst = samples.back();
    return s;
}

// The frame's blits and flip, read straight from the records, with no game code in between.
void FloorRender(Shooter& game)
{
    SDL_Surface* screen = game.screen;
    CImage::Draw(screen, game.background.get(), 0, 0);
    Map& map = game.CurrentMap();
    for (const Block& block : map.blocks) {
        const int left = WorldToScreen(block.x, block.halfSize);
        const int top = WorldToScreen(block.y, block.halfSize);
        CImage::DrawPart(screen, game.blockTileset.get(), left, top, block.tileX, block.tileY,
                         Asset::kTileSize, Asset::kTileSize);
        if (block.fullStrength > block.strength) {
            CImage::DrawPart(screen, game.blockTileset.get(), left, top,
                             Shooter::DamageFrame(block.strength, block.fullStrength) * Asset::kTileSize,
                             Asset::kDamageOverlayRow, Asset::kTileSize, Asset::kTileSize);
        }
    }
    if (const Cannon* cannon = map.GetCannon()) {
        CImage::Draw(screen, game.p1Cannon.get(), WorldToScreen(cannon->x, cannon->halfSize),
                     WorldToScreen(cannon->y, cannon->halfSize));
    }
    for (const Projectile& projectile : map.projectiles) {
        CImage::Draw(screen, projectile.sprite.get(), WorldToScreen(projectile.x, projectile.size),
                     WorldToScreen(projectile.y, projectile.size));
    }
    for (const Ball& ball : map.balls) {
        CImage::Draw(screen, game.ball.get(), WorldToScreen(ball.x, ball.radius),
                     WorldToScreen(ball.y, ball.radius));
    }
    for (size_t i = 0; i < game.interfaces.Size(); ++i) {
        const ObjInterface& object = game.interfaces[i];
        if (object.visible) {
            CImage::Draw(screen, object.surface, object.pos.first - object.anc.first,
                         object.pos.second - object.anc.second);
        }
    }
    SDL_Flip(screen);
}

// A shot as the cannon fires it, with a slightly different drag each time so they spread out.
void FireFromMuzzle(Map& map, int shot)
{
    const b2Vec2 force(200.0f + static_cast<float>((shot * 37) % 400),
                       -100.0f - static_cast<float>((shot * 53) % 300));
    if (Rules::FireFromCannon(map, force, shot % 3) == nullptr) {
        ++refusedShots;
    }
}

// A shot dropped onto the wide field from above, somewhere along its width.
void FireFromAbove(Map& map, int shot)
{
    const float x = 1.0f + static_cast<float>((shot * 7919) % (map.GetWidth() * 10 - 20)) / 10.0f;
    Rules::Fire(map, x, -1.0f, b2Vec2(0.0f, 300.0f), shot % 3);
}

struct Scenario {
    std::string name;
    int settleFrames = 300;   // run before any shot, then shots until the field is as wanted
    int liveProjectiles = 0;  // topped up to this by one shot a frame
    int burstTotal = 0;       // or: this many shots, in bursts of burstSize a frame
    int burstSize = 0;
    bool wideField = false;  // the ~900 block field instead of a generated level
};

// About 900 blocks: 76 columns by 12 rows on a field as high as the game's but 76 wide.
void BuildWideField(Shooter& game)
{
    constexpr int kColumns = 76;
    game.CurrentMap() = Map(kColumns, game.gridHeight, game.gravity, game.doSleep);
    Map& map = game.CurrentMap();
    for (int column = 0; column < kColumns; ++column) {
        const float x = static_cast<float>(column) + 0.5f;
        for (int row = 1; row < game.gridHeight; ++row) {
            const int kind = row == game.gridHeight - 1 ? BlockKind::Bedrock
                                                        : (row == 1 ? BlockKind::Ledge : BlockKind::Earth);
            map.AddBlock(x, static_cast<float>(row) + 0.5f, kind);
        }
    }
}

// The shots a scenario is fed, one frame at a time: from the cannon, or from above on the wide field.
struct Feeder {
    const Scenario& scenario;
    Map* map;
    int shot = 0;

    // Sets `ready` once the field is as the scenario wants it; the bursts are measured themselves.
    void Feed(bool& ready)
    {
        if (scenario.burstTotal > 0) {
            for (int i = 0; i < scenario.burstSize && shot < scenario.burstTotal; ++i) {
                FireFromMuzzle(*map, shot++);
            }
            ready = true;
        } else if (static_cast<int>(map->projectiles.size()) < scenario.liveProjectiles) {
            // One shot a frame from the cannon, like an auto-clicker; a second one from above
            // while the field holds fewer than wanted.
            scenario.wideField ? FireFromAbove(*map, shot++) : FireFromMuzzle(*map, shot++);
            if (static_cast<int>(map->projectiles.size()) < scenario.liveProjectiles) {
                FireFromAbove(*map, shot++);
            }
        } else {
            ready = true;
        }
    }
};

// What the measured frames of a scenario took and held.
struct Samples {
    std::vector<double> loopCpu, loopWall, stepWall, renderCpu, floorCpu, frameCpu;
    b2Profile worstStep{};
    size_t liveTotal = 0;
    size_t contactsTotal = 0;
};

// One frame, measured: the events, the rules (against Box2D's bare step), the drawing and its floor.
void MeasureFrame(Shooter& game, const Map& map, Samples& samples)
{
    const double c0 = CpuMillis();
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        game.OnEvent(&event);
    }
    const double c1 = CpuMillis();
    const double w1 = WallMillis();
    game.OnLoop();
    const double w2 = WallMillis();
    const double c2 = CpuMillis();
    game.OnRender();
    const double c3 = CpuMillis();
    FloorRender(game);
    const double c4 = CpuMillis();
    samples.loopCpu.push_back(c2 - c1);
    samples.loopWall.push_back(w2 - w1);
    const b2Profile& profile = map.world->GetProfile();
    if (profile.step > samples.worstStep.step) {
        samples.worstStep = profile;
    }
    samples.stepWall.push_back(profile.step);
    samples.renderCpu.push_back(c3 - c2);
    samples.floorCpu.push_back(c4 - c3);
    samples.frameCpu.push_back(c3 - c0);
    samples.liveTotal += map.projectiles.size();
    samples.contactsTotal += static_cast<size_t>(map.world->GetContactCount());
}

void PrintScenario(const Scenario& scenario, const Shooter& game, const Map& map, const Samples& samples,
                   int shots, int frames)
{
    const Stats loop = Summarise(samples.loopCpu);
    const Stats loopW = Summarise(samples.loopWall);
    const Stats step = Summarise(samples.stepWall);
    const Stats render = Summarise(samples.renderCpu);
    const Stats floor = Summarise(samples.floorCpu);
    const Stats whole = Summarise(samples.frameCpu);
    const double n = static_cast<double>(frames);
    std::printf(
        "%-22s blocks %4zu  live %6.1f  contacts %7.0f  shots %d, refused (on a shot of the same frame) %d\n",
        scenario.name.c_str(), map.blocks.size(), static_cast<double>(samples.liveTotal) / n,
        static_cast<double>(samples.contactsTotal) / n, shots, refusedShots);
    std::printf("  OnLoop   cpu mean %8.3f  p99 %8.3f  worst %9.3f ms | wall mean %8.3f vs bare step %8.3f ms"
                "  ratio %5.2f\n",
                loop.mean, loop.p99, loop.worst, loopW.mean, step.mean,
                step.mean > 0.0 ? loopW.mean / step.mean : 0.0);
    const FramePainter::Statistics& painted = game.painter.Stats();
    std::printf("  OnRender cpu mean %8.3f  p99 %8.3f  worst %9.3f ms | floor %8.3f ms  ratio %5.2f | window "
                "redrawn per frame %5.1f %%, %llu of %llu frames whole\n",
                render.mean, render.p99, render.worst, floor.mean,
                floor.mean > 0.0 ? render.mean / floor.mean : 0.0, 100.0 * game.painter.RedrawnShare(),
                static_cast<unsigned long long>(painted.wholeFrames),
                static_cast<unsigned long long>(painted.frames));
    const b2Profile& worstStep = samples.worstStep;
    std::printf("  worst step %.3f ms: collide %.3f, solve %.3f, continuous %.3f, broad phase %.3f\n",
                worstStep.step, worstStep.collide, worstStep.solve, worstStep.solveTOI, worstStep.broadphase);
    std::printf("  frame    cpu mean %8.3f  p99 %8.3f  worst %9.3f ms  (events, rules, drawing)\n",
                whole.mean, whole.p99, whole.worst);
    std::fflush(stdout);
}

// The game on a seeded level, or on the wide field, left to settle for the scenario's frames.
void StartScenario(Shooter& game, const Scenario& scenario, unsigned seed)
{
    if (!Drive::StartHeadless(game, "frame_bench")) {
        std::exit(1);
    }
    if (!Drive::StartLevel(game, seed)) {
        std::fprintf(stderr, "frame_bench: the start button did not start the game\n");
        std::exit(1);
    }
    if (scenario.wideField) {
        BuildWideField(game);
    }
    for (int i = 0; i < scenario.settleFrames; ++i) {
        game.OnLoop();
    }
}

void RunScenario(const Scenario& scenario, int frames, unsigned seed)
{
    Shooter game;
    StartScenario(game, scenario, seed);
    Map* map = &game.CurrentMap();
    refusedShots = 0;
    Feeder feeder{scenario, map};
    // Fill the field first, unmeasured.
    bool ready = scenario.liveProjectiles == 0;
    for (int guard = 0; !ready && guard < 5000; ++guard) {
        feeder.Feed(ready);
        if (!ready) {
            game.OnLoop();
        }
    }
    game.painter.ResetStats();
    Samples samples;
    for (int frame = 0; frame < frames; ++frame) {
        bool fed = false;
        feeder.Feed(fed);
        MeasureFrame(game, *map, samples);
    }
    PrintScenario(scenario, game, *map, samples, feeder.shot, frames);
    game.OnCleanup();
}

// An auto-clicker on the cow with no drag: every other click fires a cow that drops from the
// muzzle, every other one splits it, `rate` clicks a second for `seconds`, through the game's
// own event handling, rules and drawing. With `broken`, the cannon's pedestal is taken away
// at the start. Returns the worst whole frame (events, rules, drawing), CPU ms of this thread;
// a run that has taken more than `budget` seconds of CPU stops there and says so.
double RunClicker(unsigned seed, int rate, int seconds, bool broken, double budget)
{
    Shooter game;
    if (!Drive::StartHeadless(game, "frame_bench") || !Drive::StartLevel(game, seed)) {
        std::fprintf(stderr, "frame_bench: the game did not start\n");
        std::exit(1);
    }
    Map& map = game.CurrentMap();
    if (broken) {
        for (int i = static_cast<int>(map.BlockCount()) - 1; i >= 0; --i) {
            if (map.GetBlock(static_cast<unsigned>(i)).kind == BlockKind::Pedestal) {
                map.RemoveBlock(i);
            }
        }
    }
    const Drive::Input input;
    input.Key(SDLK_x);
    std::vector<double> frames;
    int mostShots = 0;
    int mostContacts = 0;
    int worstAt = 0;
    const double start = CpuMillis();
    const int total = seconds * 100;
    int frame = 0;
    for (; frame < total; ++frame) {
        if ((frame + 1) * rate / 100 > frame * rate / 100) {
            input.Click(500, 300);
        }
        const double c0 = CpuMillis();
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            game.OnEvent(&event);
        }
        game.OnLoop();
        game.OnRender();
        const double spent = CpuMillis() - c0;
        if (frames.empty() || spent > *std::max_element(frames.begin(), frames.end())) {
            worstAt = frame;
        }
        frames.push_back(spent);
        mostShots = std::max(mostShots, static_cast<int>(map.ProjectileCount()));
        mostContacts = std::max(mostContacts, map.world->GetContactCount());
        if (CpuMillis() - start > budget * 1e3) {
            break;
        }
    }
    const Stats whole = Summarise(frames);
    std::printf("seed %2u, %2d clicks/s, pedestal %s: frame mean %6.2f p99 %7.2f worst %8.2f ms (at %.2f s)  "
                "shots at most %3d, contacts at most %5d%s\n",
                seed, rate, broken ? "broken  " : "standing", whole.mean, whole.p99, whole.worst,
                worstAt / 100.0, mostShots, mostContacts,
                frame < total ? "  STOPPED: over the CPU budget" : "");
    std::fflush(stdout);
    game.OnCleanup();
    return whole.worst;
}

void Clicker(int rate, int seconds, unsigned firstSeed, int seeds, double budget)
{
    std::printf(
        "frame_bench clicker: cows with no drag and their split, %d clicks a second for %d s, seeds %u..%u; "
        "whole frames (events, rules, drawing), CPU of this thread\n",
        rate, seconds, firstSeed, firstSeed + static_cast<unsigned>(seeds) - 1);
    double worst = 0.0;
    for (const bool broken : {false, true}) {
        for (unsigned seed = firstSeed; seed < firstSeed + static_cast<unsigned>(seeds); ++seed) {
            worst = std::max(worst, RunClicker(seed, rate, seconds, broken, budget));
        }
    }
    std::printf("worst whole frame at %d clicks a second: %.2f ms\n", rate, worst);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "clicker") {
        // frame_bench clicker [clicks a second] [seconds] [first seed] [seeds] [CPU budget s a run]
        const auto arg = [&](int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; };
        Clicker(arg(2, 33), arg(3, 60), static_cast<unsigned>(arg(4, 1)), arg(5, 10), arg(6, 600));
        return 0;
    }
    const int frames = argc > 1 ? std::atoi(argv[1]) : 1000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1234u;
    const std::string only = argc > 3 ? argv[3] : "";

    std::vector<Scenario> scenarios;
    scenarios.push_back({"settled level", 300, 0, 0, 0, false});
    scenarios.push_back({"50 projectiles", 300, 50, 0, 0, false});
    scenarios.push_back({"200 projectiles", 300, 200, 0, 0, false});
    scenarios.push_back({"500 projectiles", 300, 500, 0, 0, false});
    scenarios.push_back({"500 in bursts of 30", 300, 0, 500, 30, false});
    scenarios.push_back({"900 blocks, 100 shots", 300, 100, 0, 0, true});

    std::printf(
        "frame_bench: %d measured frames per scenario, seed %u; times per frame, CPU of this thread\n",
        frames, seed);
    for (const Scenario& scenario : scenarios) {
        if (only.empty() || scenario.name.find(only) != std::string::npos) {
            RunScenario(scenario, frames, seed);
        }
    }
    return 0;
}
