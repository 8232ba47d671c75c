// Shared test helpers.
#include "game_fixture.h"

#include "drive/headless_game.h"
#include "field/map.h"
#include "render/surface_pixels.h"

namespace Asset {
std::ostream& operator<<(std::ostream& out, const Colour& c)
{
    return out << "(" << int{c.r} << ", " << int{c.g} << ", " << int{c.b} << ")";
}
}  // namespace Asset

bool ClassicSdl()
{
    const SDL_version* linked = SDL_Linked_Version();
    return linked->major == 1 && linked->minor == 2 && linked->patch < 50;
}

Rgb PixelAt(SDL_Surface* surface, int x, int y)
{
    return ReadPixel(surface, x, y);
}

void PushButton(Uint8 type, Uint8 button, int x, int y)
{
    ASSERT_TRUE(Drive::Input().Button(type, button, x, y)) << SDL_GetError();
}

void PushClick(int x, int y)
{
    ASSERT_TRUE(Drive::Input().Click(x, y)) << SDL_GetError();
}

void PushMotion(int x, int y, int relX, int relY, Uint8 buttons)
{
    ASSERT_TRUE(Drive::Input().Motion(x, y, relX, relY, buttons)) << SDL_GetError();
}

void PushKey(SDLKey sym)
{
    ASSERT_TRUE(Drive::Input().Key(sym)) << SDL_GetError();
}

void PushQuit()
{
    ASSERT_TRUE(Drive::Input().Quit()) << SDL_GetError();
}

void PushShot(int x, int y, int relX, int relY, int steps)
{
    ASSERT_TRUE(Drive::Input().Shoot(x, y, relX, relY, steps)) << SDL_GetError();
}

void GameTest::SetUp()
{
    game = std::make_unique<Shooter>();
    game->SetClock(clock);
    ASSERT_TRUE(game->OnInit()) << "start-up needs ./bmp/ under the working directory: " << SDL_GetError();
}

void GameTest::TearDown()
{
    if (game && game->screen != nullptr) {
        game->OnCleanup();
    }
    game.reset();
}

void GameTest::RunFrames(int n)
{
    for (int i = 0; i < n; ++i) {
        game->RunFrame();
    }
}

void GameTest::StartGame(unsigned seed)
{
    game->SetLevelSeed(seed);
    PushClick(Drive::kStartButtonX, Drive::kStartButtonY);
    RunFrames(1);
    ASSERT_EQ(game->gameState, GameState::Playing);
}
