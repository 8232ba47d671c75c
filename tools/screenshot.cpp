// Renders a seeded game headless and writes the start screen, a field in play and the bottom bar
// in its lit states (pig, cow, sheep chosen; a trick waiting) as PNG files. Given a seed and
// numbers of steps instead, it writes only the field that seed makes, with no shot, as drawn
// after each number of steps since START (field-SEED-STEPS.png): the browser's test compares
// its own with them.
#include "app/shooter.h"
#include "assets/asset_catalog.h"
#include "drive/headless_game.h"
#include "drive/input.h"
#include "field/map.h"
#include "png_file.h"
#include "render/screen_mapping.h"
#include "render/surface_pixels.h"

#include <SDL.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr unsigned kLevelSeed = 2024;
constexpr int kSettleFrames = 150;  // the field's loose blocks come to rest
constexpr int kFlightFrames = 10;   // frames between a shot and the picture

// Appends the rows top..top + height - 1 of the surface as 8-bit RGB; false with a message on
// stderr when the surface cannot be read.
bool AppendRows(SDL_Surface* surface, int top, int height, std::vector<unsigned char>& rgb)
{
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        std::fprintf(stderr, "screenshot: cannot lock the screen: %s\n", SDL_GetError());
        return false;
    }
    for (int y = top; y < top + height; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            const Asset::Colour colour = ReadPixelLocked(surface, x, y);
            rgb.push_back(colour.r);
            rgb.push_back(colour.g);
            rgb.push_back(colour.b);
        }
    }
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
    return true;
}

// The surface as an 8-bit RGB PNG; false with a message on stderr on any failure.
bool WritePng(SDL_Surface* surface, const std::string& path)
{
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<size_t>(surface->h) * 3 * static_cast<size_t>(surface->w));
    return AppendRows(surface, 0, surface->h, rgb) &&
           WritePngFile(path, surface->w, surface->h, 3, rgb, "screenshot");
}

// The bottom bar as drawn on screen, appended to a picture of bars stacked one per state.
bool AddBotBar(Shooter& game, std::vector<unsigned char>& bars)
{
    game.OnRender();
    return AppendRows(game.screen, Asset::kWindowHeight - Asset::kBotBar.height, Asset::kBotBar.height, bars);
}

void RunFrames(Shooter& game, int count)
{
    for (int i = 0; i < count; ++i) {
        game.RunFrame();
    }
}

// A whole number from 0 to `most`, or nothing.
std::optional<unsigned long> Number(const char* text, unsigned long most)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*text < '0' || *text > '9' || *end != '\0' || errno != 0 || value > most) {
        return std::nullopt;
    }
    return value;
}

// The field from `seed` after each of the steps (in rising order), as the window shows it.
bool WriteFields(Shooter& game, const std::string& outDir, unsigned seed,
                 const std::vector<unsigned long>& steps)
{
    if (!Drive::StartLevel(game, seed)) {
        std::fprintf(stderr, "screenshot: the start button did not start the game\n");
        return false;
    }
    unsigned long done = 0;
    for (const unsigned long step : steps) {
        RunFrames(game, static_cast<int>(step - done));
        done = step;
        game.OnRender();
        if (!WritePng(game.screen,
                      outDir + "/field-" + std::to_string(seed) + "-" + std::to_string(step) + ".png")) {
            return false;
        }
    }
    return true;
}

// What the command line asks for: the output directory and, for fields, a seed and the steps
// after which to picture its field, in rising order, up to ten minutes of play.
struct Request {
    std::string outDir = "docs";
    bool fields = false;
    unsigned seed = 0;
    std::vector<unsigned long> steps;
};

std::optional<Request> ReadRequest(int argc, char** argv)
{
    constexpr unsigned long kMostSteps = 60000;
    Request request;
    request.fields = argc > 2;
    const std::optional<unsigned long> seed = request.fields ? Number(argv[2], 0xFFFFFFFFUL) : std::nullopt;
    bool usable = !request.fields || (seed.has_value() && argc > 3);
    for (int i = 3; usable && i < argc; ++i) {
        const std::optional<unsigned long> step = Number(argv[i], kMostSteps);
        usable = step.has_value() && (request.steps.empty() || *step >= request.steps.back());
        request.steps.push_back(step.value_or(0));
    }
    if (!usable) {
        return std::nullopt;
    }
    if (argc >= 2) {
        request.outDir = argv[1];
    }
    request.seed = static_cast<unsigned>(seed.value_or(0));
    return request;
}

// The start screen, a moment of play and the bottom bar in each of its lit states.
bool WriteGamePictures(Shooter& game, const std::string& outDir)
{
    game.OnRender();
    bool ok = WritePng(game.screen, outDir + "/start-screen.png");
    const Drive::Input input(game);  // every event goes straight to the game's handlers, between frames
    // The bottom bar with the pig, the cow and the sheep chosen, then with a cow's trick waiting.
    std::vector<unsigned char> bars;
    ok = ok && AddBotBar(game, bars);
    input.Key(SDLK_x);
    ok = ok && AddBotBar(game, bars);
    input.Key(SDLK_c);
    ok = ok && AddBotBar(game, bars);
    input.Key(SDLK_z);
    if (!ok) {
        return false;
    }
    if (!Drive::StartLevel(game, kLevelSeed)) {
        std::fprintf(stderr, "screenshot: the start button did not start the game\n");
        return false;
    }
    RunFrames(game, kSettleFrames);
    // Press on the cannon and pull down-left: the shots fly up and to the right.
    const Cannon* cannon = game.CurrentMap().GetCannon();
    const int cannonX = cannon != nullptr ? WorldToScreen(cannon->x, 0.0f) : 25;
    const int cannonY = cannon != nullptr ? WorldToScreen(cannon->y, 0.0f) : 25;
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
    // Releasing fires the cow, whose trick then waits for its click.
    input.Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 250 - 6 * 8, 300 + 4 * 8);
    return ok && AddBotBar(game, bars) &&
           WritePngFile(outDir + "/bottom-bar.png", Asset::kWindowWidth, 4 * Asset::kBotBar.height, 3, bars,
                        "screenshot");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::optional<Request> request = ReadRequest(argc, argv);
    if (!request) {
        std::fprintf(stderr, "usage: %s [output directory [seed steps...]]\n", argv[0]);
        return 2;
    }
    Shooter game;
    if (!Drive::StartHeadless(game, "screenshot")) {
        return 1;
    }
    const bool ok = request->fields ? WriteFields(game, request->outDir, request->seed, request->steps)
                                    : WriteGamePictures(game, request->outDir);
    game.OnCleanup();
    return ok ? 0 : 1;
}
