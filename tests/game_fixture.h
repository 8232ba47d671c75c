// Shared test helpers: a started game on the dummy display, driven through SDL's event queue.
#pragma once

#include "app/shooter.h"
#include "assets/colour.h"
#include "drive/input.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <ostream>

// A clock that never waits: the loop's pacing plays no part in pass/fail tests.
class InstantClock : public FrameClock {
public:
    uint64_t NowMicros() override { return now; }
    void SleepMicros(uint64_t micros) override
    {
        slept += micros;
        now += micros;
    }

    uint64_t now = 0;
    uint64_t slept = 0;
};

using Rgb = Asset::Colour;

namespace Asset {
// Lets failure messages show colours.
std::ostream& operator<<(std::ostream& out, const Colour& c);
}  // namespace Asset

// True when the tests run against the classic SDL 1.2 library rather than sdl12-compat; the few
// checks of what only sdl12-compat does are skipped there.
bool ClassicSdl();

// Pixel colour of a surface, read in the surface's own format.
Rgb PixelAt(SDL_Surface* surface, int x, int y);

using Drive::ButtonEvent;
using Drive::KeyEvent;
using Drive::MotionEvent;

// Event helpers: each pushes its events into SDL's queue and fails the test if SDL refuses one.
void PushButton(Uint8 type, Uint8 button, int x, int y);
void PushClick(int x, int y);  // left press and release
void PushMotion(int x, int y, int relX, int relY, Uint8 buttons);
void PushKey(SDLKey sym);
void PushQuit();
// Left press at (x, y), a drag by (relX, relY) in `steps` motion events, release: one shot.
void PushShot(int x, int y, int relX, int relY, int steps = 1);

// A Shooter after a successful OnInit, cleaned up at the end of each test.
class GameTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs n iterations of the main loop: events, rules, drawing.
    void RunFrames(int n);
    // Clicks the start button and runs one frame; the level is built from the given seed.
    void StartGame(unsigned seed = 1234);
    Map& CurrentMap() { return game->CurrentMap(); }

    std::unique_ptr<Shooter> game;
    InstantClock clock;
};
