// The last change always reaches the window: the game plays on an X display, and each time
// everything has come to rest, what the X server shows in the window (read back with xwd) must
// equal the game's screen surface one frame later. Checked on the start screen, after the
// crosshairs last moved, and after a shot has landed.
// Usage: window_readback   (from the repository root, on an X display; xwd on the path)
#include "app/shooter.h"
#include "app/video_defaults.h"
#include "drive/headless_game.h"
#include "drive/input.h"
#include "field/map.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFrameMillis = 10;

// A frame of the game loop at its own pace.
void Frame(Shooter& game)
{
    game.RunFrame();
    SDL_Delay(kFrameMillis);
}

// Everything in the field stands still from now on: no body is left to move.
void Freeze(Shooter& game)
{
    for (b2Body* body = game.CurrentMap().world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        body->SetType(b2_staticBody);
    }
}

// The window's pixels as the X server holds them, rows of 4-byte pixels (blue, green, red,
// unused) from xwd's dump; empty when the dump failed.
std::vector<unsigned char> ReadWindow(unsigned long window, int w, int h)
{
    const std::string command = "xwd -silent -id " + std::to_string(window);
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    std::vector<unsigned char> dump;
    unsigned char chunk[65536];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        dump.insert(dump.end(), chunk, chunk + got);
    }
    const int status = pclose(pipe);
    const size_t pixels = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
    if (status != 0 || dump.size() < pixels) {
        return {};
    }
    return {dump.end() - static_cast<std::ptrdiff_t>(pixels), dump.end()};
}

// One more frame, then the window compared with the screen surface; false with a message.
bool WindowShowsScreen(Shooter& game, unsigned long window, const char* when)
{
    Frame(game);
    SDL_Surface* screen = game.screen;
    const std::vector<unsigned char> shown = ReadWindow(window, screen->w, screen->h);
    if (shown.empty()) {
        std::printf("%s: the window could not be read back with xwd\n", when);
        return false;
    }
    SDL_LockSurface(screen);
    int different = 0;
    int firstX = 0;
    int firstY = 0;
    for (int y = 0; y < screen->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(screen->pixels) +
                                                          static_cast<ptrdiff_t>(y) * screen->pitch);
        for (int x = 0; x < screen->w; ++x) {
            Uint8 r = 0;
            Uint8 g = 0;
            Uint8 b = 0;
            SDL_GetRGB(row[x], screen->format, &r, &g, &b);
            const unsigned char* pixel =
                &shown[(static_cast<size_t>(y) * static_cast<size_t>(screen->w) + static_cast<size_t>(x)) *
                       4];
            if (pixel[0] != b || pixel[1] != g || pixel[2] != r) {
                if (different++ == 0) {
                    firstX = x;
                    firstY = y;
                }
            }
        }
    }
    SDL_UnlockSurface(screen);
    if (different != 0) {
        std::printf("%s: %d pixels of the window differ from the screen surface, the first at (%d, %d)\n",
                    when, different, firstX, firstY);
        return false;
    }
    std::printf("%s: the window shows the screen surface\n", when);
    return true;
}

// Frames until one has had nothing to draw, at most `limit`.
bool UntilQuiet(Shooter& game, int limit)
{
    for (int i = 0; i < limit; ++i) {
        Frame(game);
        if (game.painter.LastRegions().empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main()
{
    SetVideoDefaults();
    Shooter game;
    game.SetLevelSeed(1234);
    if (!game.OnInit()) {
        std::printf("the game did not start on the display: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1) {
        std::printf("no X window to read back: %s\n", SDL_GetError());
        game.OnCleanup();
        return 1;
    }
    const unsigned long window = info.info.x11.window;
    const Drive::Input input;
    bool ok = UntilQuiet(game, 100) && WindowShowsScreen(game, window, "start screen");

    // The crosshairs moved over a few frames, then held still on a field at rest.
    input.Click(Drive::kStartButtonX, Drive::kStartButtonY);
    for (int i = 0; i < 150; ++i) {
        Frame(game);
    }
    Freeze(game);
    input.Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 500, 300);
    for (int step = 1; step <= 5; ++step) {
        input.Motion(500 - 20 * step, 300 + 5 * step, -20, 5, SDL_BUTTON_LMASK);
        Frame(game);
    }
    ok = UntilQuiet(game, 100) && WindowShowsScreen(game, window, "crosshairs held still") && ok;

    // A cow fired and split; everything stops where it is a second later.
    input.Key(SDLK_x);
    input.Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 400, 325);
    for (int i = 0; i < 30; ++i) {
        Frame(game);
    }
    input.Click(500, 300);
    for (int i = 0; i < 70; ++i) {
        Frame(game);
    }
    Freeze(game);
    ok = UntilQuiet(game, 100) && WindowShowsScreen(game, window, "shot come to rest") && ok;

    game.OnCleanup();
    return ok ? 0 : 1;
}
