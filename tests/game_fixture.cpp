// Shared test helpers.
#include "tests/game_fixture.h"

#include "render/surface_pixels.h"

Rgb PixelAt(SDL_Surface* surface, int x, int y)
{
    const PixelColour colour = ReadPixel(surface, x, y);
    return {colour.r, colour.g, colour.b};
}

SDL_Event ButtonEvent(Uint8 type, Uint8 button, int x, int y)
{
    SDL_Event event{};
    event.type = type;
    event.button.type = type;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    return event;
}

SDL_Event MotionEvent(int x, int y, int relX, int relY, Uint8 buttons)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.state = buttons;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    event.motion.xrel = static_cast<Sint16>(relX);
    event.motion.yrel = static_cast<Sint16>(relY);
    return event;
}

SDL_Event KeyEvent(Uint8 type, SDLKey sym, SDLMod mod, Uint16 unicode)
{
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    event.key.keysym.unicode = unicode;
    return event;
}

void PushButton(Uint8 type, Uint8 button, int x, int y)
{
    SDL_Event event = ButtonEvent(type, button, x, y);
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushClick(int x, int y)
{
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, x, y);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, x, y);
}

void PushMotion(int x, int y, int relX, int relY, Uint8 buttons)
{
    SDL_Event event = MotionEvent(x, y, relX, relY, buttons);
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushKey(SDLKey sym)
{
    SDL_Event event = KeyEvent(SDL_KEYDOWN, sym);
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushQuit()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
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
    PushClick(500, 216);
    RunFrames(1);
    ASSERT_EQ(game->gameState, GameState::Playing);
}
