// The application's life cycle: start-up, the paced main loop, quitting and shutdown.
#include "app/shooter.h"
#include "assets/asset_catalog.h"
#include "assets/cimage.h"
#include "drive/headless_game.h"
#include "field/map.h"
#include "field/projectile.h"
#include "game_fixture.h"
#include "game_process.h"
#include "render/interface_layout.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// While set, every surface handed to SDL_FreeSurface is noted here. The sanitizers cannot see
// a surface freed twice: SDL's library is not instrumented and shrugs off the second call.
std::vector<SDL_Surface*>* freedSurfaces = nullptr;

}  // namespace

// Stands in front of SDL's SDL_FreeSurface for this test program, so shutdown can be watched.
extern "C" void SDL_FreeSurface(SDL_Surface* surface)
{
    using FreeFunction = void (*)(SDL_Surface*);
    static const FreeFunction sdlFree = reinterpret_cast<FreeFunction>(dlsym(RTLD_NEXT, "SDL_FreeSurface"));
    if (freedSurfaces != nullptr && surface != nullptr) {
        freedSurfaces->push_back(surface);
    }
    sdlFree(surface);
}

namespace {

// ---------------------------------------------------------------------------------------------
// A clock for the whole main loop. The pacer reads the time once when an iteration starts and
// once when it ends; at the end the iteration is charged its scripted cost and the script may
// push events for the next iteration.
class ScriptedClock : public FrameClock {
public:
    uint64_t NowMicros() override
    {
        ++reads;
        if (reads % 2 == 0) {
            const int iteration = reads / 2;
            iterations = iteration;
            now += cost ? cost(iteration) : 0;
            if (iteration >= kRunaway) {
                ADD_FAILURE() << "the loop did not end; stopping it";
                PushQuit();
            } else if (afterIteration) {
                afterIteration(iteration);
            }
        }
        return now;
    }

    void SleepMicros(uint64_t micros) override
    {
        sleeps.emplace_back(reads / 2, micros);
        now += micros;
    }

    static constexpr int kRunaway = 500;
    std::function<uint64_t(int)> cost;             // microseconds iteration i takes, 1-based
    std::function<void(int)> afterIteration;       // runs when iteration i has drawn its frame
    std::vector<std::pair<int, uint64_t>> sleeps;  // (iteration, microseconds slept)
    uint64_t now = 1'000'000;
    int reads = 0;
    int iterations = 0;
};

// Records the handlers the loop calls, in order, and passes each on to the game.
class RecordingShooter : public Shooter {
public:
    std::vector<std::string> calls;

    void OnKeyDown(SDLKey sym, SDLMod mod, Uint16 unicode) override
    {
        Record("KeyDown " + std::to_string(sym));
        Shooter::OnKeyDown(sym, mod, unicode);
    }
    void OnLButtonDown(int32_t x, int32_t y) override
    {
        Record("LButtonDown " + std::to_string(x) + " " + std::to_string(y));
        Shooter::OnLButtonDown(x, y);
    }
    void OnLButtonUp(int32_t x, int32_t y) override
    {
        Record("LButtonUp " + std::to_string(x) + " " + std::to_string(y));
        Shooter::OnLButtonUp(x, y);
    }
    void OnExit() override
    {
        Record("Exit");
        Shooter::OnExit();
    }

private:
    void Record(const std::string& call) { calls.push_back(call); }
};

// The start button's rectangle on the screen, centred on its layout point.
constexpr int kButtonWidth = Asset::kStartButton.width;
constexpr int kButtonHeight = Asset::kStartButton.height;
constexpr int kButtonLeft = Layout::kStartButtonCentre.x - kButtonWidth / 2;
constexpr int kButtonTop = Layout::kStartButtonCentre.y - kButtonHeight / 2;
const Rgb kMagenta = Asset::kColourKey;

// Share of the start button's opaque pixels that the screen shows as they are in the bitmap.
double StartButtonShown(SDL_Surface* screen)
{
    SDL_Surface* button = CImage::Load(Asset::kStartButton.path);
    EXPECT_NE(button, nullptr) << Asset::kStartButton.path;
    if (button == nullptr) {
        return 0.0;
    }
    int opaque = 0;
    int shown = 0;
    for (int y = 0; y < kButtonHeight; y += 2) {
        for (int x = 0; x < kButtonWidth; x += 2) {
            const Rgb colour = PixelAt(button, x, y);
            if (colour == kMagenta) {
                continue;
            }
            ++opaque;
            shown += PixelAt(screen, kButtonLeft + x, kButtonTop + y) == colour ? 1 : 0;
        }
    }
    SDL_FreeSurface(button);
    EXPECT_GT(opaque, 1000) << "the start button should be mostly opaque";
    return opaque > 0 ? static_cast<double>(shown) / opaque : 0.0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TEST(AppProcessTest, EachMissingFieldBitmapEndsTheGameWithStatus255AndNoOutput)
{
    ASSERT_NE(getenv("SDL_VIDEODRIVER"), nullptr) << "the test entry sets the dummy driver";
    // Without these six the field cannot be drawn; the names differ from the interface
    // bitmaps "Target1.bmp" and "Target2.bmp" only in letter case, which must not count.
    for (const char* missing :
         {"blocktileset.bmp", "background.bmp", "p1cannon.bmp", "target1.bmp", "target2.bmp", "bullet.bmp"}) {
        SCOPED_TRACE(testing::Message() << "without bmp/" << missing);
        TempDir dir;
        ASSERT_FALSE(dir.path.empty());
        CopyArtwork(dir.path, missing);
        ASSERT_FALSE(fs::exists(dir.path / "bmp" / missing));

        const ProcessResult result = RunGame(dir.path, 0);
        EXPECT_TRUE(result.exited) << "ended by signal " << result.signal;
        EXPECT_EQ(result.status, 255) << "a failed start-up returns -1 from main";
        EXPECT_EQ(result.out, "") << "the game writes nothing to stdout";
        EXPECT_EQ(result.err, "") << "the game writes nothing to stderr";
    }

    SCOPED_TRACE("without any artwork");
    TempDir empty;
    const ProcessResult result = RunGame(empty.path, 0);
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.err, "");
}

TEST(AppProcessTest, WithAllArtworkTheGameRunsUntilClosedAndExitsWithZero)
{
    TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    CopyArtwork(dir.path, "");
    const ProcessResult result = RunGame(dir.path, SIGTERM);
    EXPECT_TRUE(result.exited) << "ended by signal " << result.signal;
    EXPECT_EQ(result.status, 0) << "closing the window is a normal end";
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
}

TEST(AppProcessTest, QuitSignalsCloseTheGameAndOnlyAMissingDisplayOrVideoStopsStartUp)
{
    TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    CopyArtwork(dir.path, "");
    // The terminal closing (SIGHUP) and Ctrl+C count as closing the window.
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(testing::Message() << "signal " << strsignal(signal));
        const ProcessResult result = RunGame(dir.path, signal);
        EXPECT_TRUE(result.exited) << "ended by signal " << result.signal;
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out + result.err, "");
    }
    {
        SCOPED_TRACE("no sound device");
        const ProcessResult result = RunGame(dir.path, SIGTERM, {{"SDL_AUDIODRIVER", "bogus"}});
        EXPECT_EQ(result.status, 0) << "the game plays without sound";
        EXPECT_EQ(result.out + result.err, "");
    }
    // Left to choose, SDL falls back to drawing off screen; the game must not play to nobody.
    for (const char* display : {static_cast<const char*>(nullptr), ":987"}) {
        SCOPED_TRACE(testing::Message() << "DISPLAY " << (display != nullptr ? display : "unset"));
        // SDL tries and unloads its desktop video libraries on the way, which leave allocations
        // behind that are not the game's; a sanitizer build would report them at exit.
        const ProcessResult result = RunGame(dir.path, 0,
                                             {{"SDL_VIDEODRIVER", nullptr},
                                              {"DISPLAY", display},
                                              {"WAYLAND_DISPLAY", nullptr},
                                              {"ASAN_OPTIONS", "detect_leaks=0"}});
        EXPECT_TRUE(result.exited) << "ended by signal " << result.signal;
        EXPECT_EQ(result.status, 255) << "a display nobody sees is a failed start-up";
        EXPECT_EQ(result.out, "");
    }
}

// ---------------------------------------------------------------------------------------------

TEST(AppLoopTest, FailedStartUpReleasesTheBitmapsItHadLoaded)
{
    // The leak checker cannot see these surfaces (SDL keeps them reachable), so count the frees:
    // a failing OnExecute must free the five bitmaps loaded before the sixth on top of what a
    // failing OnInit frees by itself. The sixth passes the checks made before the display
    // opens, then fails to decode: its run-length data stops short of the picture's end.
    TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    CopyArtwork(dir.path, "bullet.bmp");
    std::string cut(54 + 1024 + 2, '\0');
    const auto put32 = [&cut](size_t at, uint32_t value) {
        for (size_t i = 0; i < 4; ++i) {
            cut[at + i] = static_cast<char>(value >> (8 * i));
        }
    };
    cut[0] = 'B';
    cut[1] = 'M';
    put32(2, static_cast<uint32_t>(cut.size()));
    put32(10, 54 + 1024);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(Asset::kBullet.width));
    put32(22, static_cast<uint32_t>(Asset::kBullet.height));
    cut[26] = 1;         // planes
    cut[28] = 8;         // bits per pixel
    put32(30, 1);        // run-length, 8 bits
    cut[54 + 1024] = 5;  // one run of five pixels, and then nothing
    std::ofstream(dir.path / "bmp" / "bullet.bmp", std::ios::binary) << cut;
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path);

    std::vector<SDL_Surface*> initFrees;
    std::vector<SDL_Surface*> executeFrees;
    {
        Shooter game;
        freedSurfaces = &initFrees;
        EXPECT_FALSE(game.OnInit());
        freedSurfaces = nullptr;
        EXPECT_NE(game.target2, nullptr) << "the bitmaps before the missing one were loaded";
        for (OwnedSurface* surface : {&game.blockTileset, &game.background, &game.p1Cannon, &game.target1,
                                      &game.target2, &game.ball}) {
            surface->reset();
        }
        SDL_Quit();
    }
    {
        Shooter game;
        freedSurfaces = &executeFrees;
        EXPECT_EQ(game.OnExecute(), -1);
        freedSurfaces = nullptr;
        for (SDL_Surface* surface : {game.blockTileset.get(), game.background.get(), game.p1Cannon.get(),
                                     game.target1.get(), game.target2.get(), game.ball.get()}) {
            EXPECT_EQ(surface, nullptr);
        }
        SDL_Quit();
    }
    fs::current_path(previous);
    EXPECT_EQ(executeFrees.size(), initFrees.size() + 5);
}

TEST(AppLoopTest, CloseRequestEndsTheLoopAfterItsIterationOnceTheQueueIsDrained)
{
    RecordingShooter game;
    ScriptedClock clock;
    game.SetClock(clock);
    game.SetLevelSeed(1234);
    double buttonBefore = 0.0;
    double buttonAfter = 1.0;
    clock.afterIteration = [&](int iteration) {
        if (iteration == 1) {
            buttonBefore = StartButtonShown(game.screen);
            // The close request comes first; the click and the key behind it still count.
            PushQuit();
            PushClick(Drive::kStartButtonX, Drive::kStartButtonY);
            PushKey(SDLK_ESCAPE);
        } else if (iteration == 2) {
            buttonAfter = StartButtonShown(game.screen);
        }
    };

    EXPECT_EQ(game.OnExecute(), 0);
    EXPECT_EQ(clock.iterations, 2) << "the loop ends after the iteration that received the close request";
    const std::string button =
        std::to_string(Drive::kStartButtonX) + " " + std::to_string(Drive::kStartButtonY);
    EXPECT_EQ(game.calls, (std::vector<std::string>{"Exit", "LButtonDown " + button, "LButtonUp " + button,
                                                    "KeyDown " + std::to_string(SDLK_ESCAPE)}));
    EXPECT_FALSE(game.running);
    EXPECT_EQ(game.gameState, GameState::Playing) << "the click behind the close request started the game";
    EXPECT_GT(buttonBefore, 0.99) << "the first frame shows the start screen";
    EXPECT_LT(buttonAfter, 0.5) << "the last iteration still drew its frame, without the start button";
    EXPECT_EQ(game.screen, nullptr) << "shutdown ran";
    EXPECT_EQ(game.background, nullptr);
}

TEST(AppLoopTest, OneStepPerIterationWithPacingAndNoCatchUp)
{
    RecordingShooter game;
    ScriptedClock clock;
    game.SetClock(clock);
    game.SetLevelSeed(99);
    // Odd iterations are quick (3 ms), even ones overrun the 10 ms frame (25 ms).
    clock.cost = [](int iteration) -> uint64_t { return iteration % 2 == 1 ? 3000 : 25000; };
    constexpr int kFlying = 30;  // iterations between the shot's first frame and the close request
    float lifetimeAfterShot = 0.0f;
    clock.afterIteration = [&](int iteration) {
        if (iteration == 1) {
            PushClick(Drive::kStartButtonX, Drive::kStartButtonY);
        } else if (iteration == 2) {
            PushShot(300, 300, -10, 5);
        } else if (iteration == 3) {
            ASSERT_EQ(game.CurrentMap().projectiles.size(), 1u) << "the shot was fired";
            lifetimeAfterShot = game.CurrentMap().projectiles[0].lifetime;
        } else if (iteration == 3 + kFlying) {
            PushQuit();
        }
    };

    ASSERT_EQ(game.OnExecute(), 0);
    const int iterations = 4 + kFlying;
    ASSERT_EQ(clock.iterations, iterations);
    EXPECT_EQ(clock.reads, 2 * iterations)
        << "the loop reads the clock at the start and the end of an iteration";

    // The shot's first frame counted one frame off its lifetime; every later iteration, the
    // last one included, exactly one more.
    EXPECT_FLOAT_EQ(lifetimeAfterShot, kProjectileLifetime - 1.0f);
    ASSERT_EQ(game.CurrentMap().projectiles.size(), 1u);
    EXPECT_FLOAT_EQ(game.CurrentMap().projectiles[0].lifetime, kProjectileLifetime - (kFlying + 2.0f))
        << "one physics step per iteration, whatever the iterations took";

    std::vector<std::pair<int, uint64_t>> expected;
    for (int i = 1; i <= iterations; i += 2) {
        expected.emplace_back(i, 7000);
    }
    EXPECT_EQ(clock.sleeps, expected) << "a 3 ms iteration sleeps 7 ms; a 25 ms one sleeps nothing";
}

TEST(FramePacerTest, SleepsAwayTheRestOfTenMillisecondsAndNeverCatchesUp)
{
    struct ManualClock : FrameClock {
        uint64_t NowMicros() override { return now; }
        void SleepMicros(uint64_t micros) override
        {
            slept.push_back(micros);
            now += micros;
        }
        void Yield() override { ++yields; }
        uint64_t now = 5'000'000;
        std::vector<uint64_t> slept;
        int yields = 0;
    };
    ManualClock clock;
    FramePacer pacer(clock);

    struct Case {
        uint64_t took;
        std::vector<uint64_t> sleeps;
    };
    const Case cases[] = {
        {3000, {7000}}, {25000, {}}, {3000, {7000}}, {0, {10000}},   {10000, {}},
        {9999, {1}},    {10001, {}}, {100000, {}},   {9000, {1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "an iteration of " << c.took << " us");
        clock.slept.clear();
        clock.yields = 0;
        pacer.StartFrame();
        clock.now += c.took;
        pacer.FinishFrame();
        EXPECT_EQ(clock.slept, c.sleeps);
        EXPECT_EQ(clock.yields, c.sleeps.empty() ? 1 : 0) << "an iteration that does not sleep yields once";
    }

    SCOPED_TRACE("a clock that steps back never makes an iteration sleep longer than a frame");
    clock.slept.clear();
    pacer.StartFrame();
    clock.now -= 4000;
    pacer.FinishFrame();
    for (uint64_t micros : clock.slept) {
        EXPECT_LE(micros, 10000u);
    }

    SCOPED_TRACE("a handed-in clock replaces the first");
    ManualClock other;
    pacer.SetClock(other);
    pacer.StartFrame();
    other.now += 4000;
    pacer.FinishFrame();
    EXPECT_EQ(other.slept, (std::vector<uint64_t>{6000}));
}

TEST(FramePacerTest, KeepsToItsOwnTimelineWhenSleepsWakeLateAndRestartsItAfterAnOverrun)
{
    // Every sleep wakes 300 us late, as a real one on a busy machine does.
    struct LateClock : FrameClock {
        uint64_t NowMicros() override { return now; }
        void SleepMicros(uint64_t micros) override { now += micros + 300; }
        uint64_t now = 1'000'000;
    };
    LateClock clock;
    FramePacer pacer(clock);
    auto iterate = [&](uint64_t took) {
        pacer.StartFrame();
        const uint64_t start = clock.now;
        clock.now += took;
        pacer.FinishFrame();
        return start;
    };

    const uint64_t first = iterate(3000);
    uint64_t start = first;
    for (int i = 1; i < 1000; ++i) {
        start = iterate(3000);
    }
    // Each start is the previous deadline plus one late wake-up; sleeping what is left of each
    // frame would drift 0.3 ms a frame instead.
    EXPECT_EQ(start - first, 999u * 10000u + 300u) << "1000 iterations must start 10 ms apart on average";
    EXPECT_EQ(clock.now - first, 1000u * 10000u + 300u);

    SCOPED_TRACE("an overrun is followed at once by the next iteration, which sets a new pace");
    const uint64_t overrunStart = iterate(25000);
    const uint64_t afterOverrun = iterate(3000);
    EXPECT_EQ(afterOverrun, overrunStart + 25000) << "no sleep after an overrun";
    const uint64_t next = iterate(3000);
    EXPECT_EQ(next, afterOverrun + 10000 + 300)
        << "the new timeline counts from the iteration after the overrun";
    const uint64_t later = iterate(3000);
    EXPECT_EQ(later, afterOverrun + 20000 + 300) << "no catch-up: the lost time is not made up";
}

TEST(FramePacerTest, MayCatchUpOnSlowIterationsButForgetsTimeMissedFarBehind)
{
    struct ManualClock : FrameClock {
        uint64_t NowMicros() override { return now; }
        void SleepMicros(uint64_t micros) override { now += micros; }
        void Stepped(uint32_t count) override { steps += count; }
        uint64_t now = 1'000'000;
        uint64_t steps = 0;
    };
    ManualClock clock;
    FramePacer pacer(clock);
    pacer.AllowCatchUp(6, 25);
    auto iterate = [&](uint64_t took) {
        const uint32_t steps = pacer.StartFrame();
        clock.now += took;
        pacer.FinishFrame();
        return steps;
    };

    // Pictures that take 25 ms each: 2 or 3 steps apiece keep the game at 100 steps a second.
    const uint64_t start = clock.now;
    while (clock.now - start < 10'000'000) {
        EXPECT_LE(iterate(25000), 6u);
    }
    EXPECT_NEAR(static_cast<double>(clock.steps), 1000.0, 6.0) << "10 s of 25 ms pictures";

    SCOPED_TRACE("a 200 ms hiccup is made up over the next iterations, six steps at most each");
    iterate(3000);
    iterate(200'000);
    std::vector<uint32_t> after(6);
    for (uint32_t& steps : after) {
        steps = iterate(3000);
    }
    EXPECT_EQ(after, (std::vector<uint32_t>{6, 6, 6, 2, 1, 1}));

    SCOPED_TRACE("a second asleep in the background is forgotten: no burst");
    iterate(1'000'000);
    EXPECT_EQ(iterate(3000), 1u);
    EXPECT_EQ(iterate(3000), 1u);
}

// ---------------------------------------------------------------------------------------------

class AppTest : public GameTest {};

TEST_F(AppTest, StartUpOpensTheWindowOnTheStartScreenWithTheGamesSettings)
{
    Shooter& g = *game;
    ASSERT_NE(g.screen, nullptr);
    EXPECT_EQ(g.screen, SDL_GetVideoSurface());
    EXPECT_EQ(g.screen->w, Asset::kWindowWidth);
    EXPECT_EQ(g.screen->h, Asset::kWindowHeight);
    EXPECT_EQ(g.screen->format->BitsPerPixel, 32);

    EXPECT_TRUE(g.running);
    EXPECT_EQ(g.gameState, GameState::StartScreen);
    ASSERT_NE(g.map, nullptr);
    EXPECT_TRUE(g.CurrentMap().blocks.empty()) << "the level is built only when the game starts";
    EXPECT_TRUE(g.CurrentMap().projectiles.empty());

    EXPECT_GT(g.CurrentMap().world->GetGravity().y, 0.0f) << "the world pulls down the screen";

    EXPECT_EQ(g.targetsLeft, 3);
    EXPECT_EQ(g.aimState, AimState::Idle);
    EXPECT_FLOAT_EQ(g.aim.x, 0.0f);
    EXPECT_FLOAT_EQ(g.aim.y, 0.0f);
    EXPECT_EQ(g.projectileKind, ProjectileKind::Pig);
    EXPECT_EQ(g.lastProjectile, nullptr);

    // The six field bitmaps: all loaded; all but the background see-through where magenta.
    const std::pair<const char*, SDL_Surface*> images[] = {
        {"blocktileset", g.blockTileset.get()}, {"p1cannon", g.p1Cannon.get()}, {"target1", g.target1.get()},
        {"target2", g.target2.get()},           {"bullet", g.ball.get()},
    };
    for (const auto& [name, surface] : images) {
        ASSERT_NE(surface, nullptr) << name;
        EXPECT_NE(surface->flags & SDL_SRCCOLORKEY, 0u) << name << " needs the magenta key";
        EXPECT_EQ(surface->format->colorkey,
                  SDL_MapRGB(surface->format, Asset::kColourKey.r, Asset::kColourKey.g, Asset::kColourKey.b))
            << name;
    }
    ASSERT_NE(g.background, nullptr);
    EXPECT_EQ(g.background->flags & SDL_SRCCOLORKEY, 0u) << "the background is drawn whole";

    // The first frame: the start button on the background.
    RunFrames(1);
    EXPECT_GT(StartButtonShown(g.screen), 0.99);
    SDL_Surface* background = CImage::Load(Asset::kBackground.path);
    ASSERT_NE(background, nullptr);
    for (const auto& [x, y] :
         std::initializer_list<std::pair<int, int>>{{50, 400}, {950, 400}, {500, 500}, {150, 200}}) {
        EXPECT_EQ(PixelAt(g.screen, x, y), PixelAt(background, x, y))
            << "background at (" << x << ", " << y << ")";
    }
    SDL_FreeSurface(background);
    EXPECT_EQ(g.gameState, GameState::StartScreen) << "nothing starts by itself";
}

TEST_F(AppTest, QueuedEventsAreAllHandledInOrderBeforeTheFramesRules)
{
    StartGame();
    // One iteration's queue: choose the cow, take a shot dragging left and down, choose the pig.
    PushKey(SDLK_x);
    PushShot(300, 300, -10, 5);
    PushKey(SDLK_z);
    RunFrames(1);

    Map& map = CurrentMap();
    ASSERT_EQ(map.projectiles.size(), 1u);
    const Projectile& shot = map.projectiles[0];
    EXPECT_EQ(shot.kind, ProjectileKind::Cow) << "the x key came before the release";
    EXPECT_EQ(game->projectileKind, ProjectileKind::Pig) << "the z key came after the release";
    EXPECT_EQ(game->aimState, AimState::WaitingForAction) << "a cow waits for its second click";
    EXPECT_FLOAT_EQ(shot.lifetime, kProjectileLifetime - 1.0f)
        << "the frame's rules ran once, after the shot";
    // Dragging left and down launches right and up, as the drag happened before the release.
    EXPECT_GT(shot.body->GetLinearVelocity().x, 0.0f);
    EXPECT_FLOAT_EQ(game->aim.x, 0.0f) << "the aim starts afresh after a shot";
}

TEST_F(AppTest, EscapeAndOtherKeysDoNotQuit)
{
    for (int phase = 0; phase < 2; ++phase) {
        SCOPED_TRACE(phase == 0 ? "on the start screen" : "while playing");
        for (SDLKey key : {SDLK_ESCAPE, SDLK_q, SDLK_F4, SDLK_RETURN, SDLK_SPACE}) {
            PushKey(key);
        }
        PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, Drive::kStartButtonX, Drive::kStartButtonY);
        PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, Drive::kStartButtonX, Drive::kStartButtonY);
        RunFrames(2);
        EXPECT_TRUE(game->running);
        EXPECT_EQ(game->gameState, phase == 0 ? GameState::StartScreen : GameState::Playing);
        EXPECT_EQ(game->projectileKind, ProjectileKind::Pig);
        if (phase == 0) {
            StartGame();
        }
    }
}

TEST_F(AppTest, ShutdownFreesEverySurfaceOnce)
{
    StartGame(7);
    // Shots in flight: a pig, a cow split into three pigs, and a sheep still waiting for its
    // second click, whose launch record shares its picture with the flying sheep.
    PushShot(300, 300, -10, 5);
    RunFrames(2);
    PushKey(SDLK_x);
    PushShot(300, 300, -12, 4);
    RunFrames(3);
    PushClick(400, 400);
    RunFrames(2);
    PushKey(SDLK_c);
    PushShot(300, 300, -8, 6);
    RunFrames(2);
    ASSERT_EQ(CurrentMap().projectiles.size(), 6u);
    ASSERT_NE(game->lastProjectile, nullptr);
    EXPECT_EQ(game->lastProjectile->sprite, CurrentMap().projectiles.back().sprite);

    std::set<SDL_Surface*> cakes;
    int cakeRecords = 0;
    for (size_t i = 0; i < game->interfaces.Size(); ++i) {
        if (game->interfaces[i].name == Sprite::kCake.Text()) {
            ++cakeRecords;
            cakes.insert(game->interfaces[i].surface);
        }
    }
    EXPECT_EQ(cakeRecords, 3);
    EXPECT_EQ(cakes.size(), 1u) << "the cake icons share one picture";

    // Every surface the game holds, each once.
    std::set<SDL_Surface*> held = {game->blockTileset.get(), game->background.get(), game->p1Cannon.get(),
                                   game->target1.get(),      game->target2.get(),    game->ball.get()};
    for (const Projectile& projectile : CurrentMap().projectiles) {
        held.insert(projectile.sprite.get());
    }
    for (size_t i = 0; i < game->interfaces.Size(); ++i) {
        held.insert(game->interfaces[i].surface);
    }
    held.erase(nullptr);
    EXPECT_EQ(held.size(), 6u + 3u + 11u)
        << "six field bitmaps, pig, cow and sheep, eleven interface pictures";

    SDL_Surface* const display = game->screen;
    std::vector<SDL_Surface*> freed;
    freedSurfaces = &freed;
    game->OnCleanup();
    freedSurfaces = nullptr;

    // The display surface belongs to SDL, which passes it through the same call while it shuts
    // down; handing it to SDL_FreeSurface does nothing.
    std::set<SDL_Surface*> freedOnce;
    for (SDL_Surface* surface : freed) {
        EXPECT_TRUE(freedOnce.insert(surface).second || surface == display)
            << "surface " << surface << " was freed twice";
    }
    for (SDL_Surface* surface : held) {
        EXPECT_EQ(freedOnce.count(surface), 1u) << "surface " << surface << " was not freed";
    }
    for (SDL_Surface* surface :
         {game->screen, game->blockTileset.get(), game->background.get(), game->p1Cannon.get(),
          game->target1.get(), game->target2.get(), game->ball.get()}) {
        EXPECT_EQ(surface, nullptr);
    }
    for (const Projectile& projectile : CurrentMap().projectiles) {
        EXPECT_EQ(projectile.sprite, nullptr);
    }
    for (size_t i = 0; i < game->interfaces.Size(); ++i) {
        EXPECT_EQ(game->interfaces[i].surface, nullptr) << game->interfaces[i].name;
    }
}

TEST_F(AppTest, ShutdownFreesTheCakePictureAfterEveryCakeHasGone)
{
    StartGame(7);
    ASSERT_NE(game->interfaces.Find(Sprite::kCake), nullptr);
    SDL_Surface* const cake = game->interfaces.Find(Sprite::kCake)->surface;
    ASSERT_NE(cake, nullptr);
    for (int lost = 0; lost < 3; ++lost) {
        game->TargetLost();
    }
    ASSERT_EQ(game->interfaces.Find(Sprite::kCake), nullptr) << "no cake icon is left to hold the picture";

    std::vector<SDL_Surface*> freed;
    freedSurfaces = &freed;
    game->OnCleanup();
    freedSurfaces = nullptr;
    EXPECT_EQ(std::count(freed.begin(), freed.end(), cake), 1) << "the cakes' picture must be freed once";
}
