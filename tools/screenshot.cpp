// Renders a seeded game headless and writes the start screen and a field in play as PNG files.
#include "app/shooter.h"
#include "drive/headless_game.h"
#include "drive/input.h"
#include "field/map.h"
#include "png_file.h"
#include "render/screen_mapping.h"
#include "render/surface_pixels.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr unsigned kLevelSeed = 2024;
constexpr int kSettleFrames = 150;  // the field's loose blocks come to rest
constexpr int kFlightFrames = 10;   // frames between a shot and the picture

// The surface as an 8-bit RGB PNG; false with a message on stderr on any failure.
bool WritePng(SDL_Surface* surface, const std::string& path)
{
    const int width = surface->w;
    const int height = surface->h;
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<size_t>(height) * 3 * static_cast<size_t>(width));
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        std::fprintf(stderr, "screenshot: cannot lock the screen: %s\n", SDL_GetError());
        return false;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Asset::Colour colour = ReadPixelLocked(surface, x, y);
            rgb.push_back(colour.r);
            rgb.push_back(colour.g);
            rgb.push_back(colour.b);
        }
    }
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
    return WritePngFile(path, width, height, 3, rgb, "screenshot");
}

void RunFrames(Shooter& game, int count)
{
    for (int i = 0; i < count; ++i) {
        game.RunFrame();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [output directory]\n", argv[0]);
        return 2;
    }
    const std::string outDir = argc == 2 ? argv[1] : "docs";
    Shooter game;
    if (!Drive::StartHeadless(game, "screenshot")) {
        return 1;
    }

    game.OnRender();
    bool ok = WritePng(game.screen, outDir + "/start-screen.png");

    if (ok) {
        ok = Drive::StartLevel(game, kLevelSeed);
        if (!ok) {
            std::fprintf(stderr, "screenshot: the start button did not start the game\n");
        }
    }
    if (ok) {
        RunFrames(game, kSettleFrames);
        // Press on the cannon and pull down-left: the shots fly up and to the right.
        const Cannon* cannon = game.CurrentMap().GetCannon();
        const int cannonX = cannon != nullptr ? WorldToScreen(cannon->x, 0.0f) : 25;
        const int cannonY = cannon != nullptr ? WorldToScreen(cannon->y, 0.0f) : 25;
        // Every event goes straight to the game's handlers, between frames.
        const Drive::Input input(game);
        input.Shoot(cannonX, cannonY, -8 * 9, 5 * 9, 9);  // a pig
        RunFrames(game, kFlightFrames);
        input.Key(SDLK_x);  // a cow
        input.Shoot(cannonX, cannonY, -15 * 12, 13 * 12, 12);
        RunFrames(game, kFlightFrames);
        input.Click(250, 300);  // the second click splits the cow into three pigs
        RunFrames(game, kFlightFrames / 2);
        // The next shot is being aimed: both markers show.
        input.Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 250, 300);
        input.Drag(250, 300, -6 * 8, 4 * 8, 8);
        game.OnRender();
        ok = WritePng(game.screen, outDir + "/in-play.png");
    }

    game.OnCleanup();
    return ok ? 0 : 1;
}
