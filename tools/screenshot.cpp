// Renders a seeded game headless and writes the start screen and a field in play as PNG files.
#include "app/shooter.h"
#include "render/surface_pixels.h"

#include <SDL.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr unsigned kLevelSeed = 2024;
constexpr int kSettleFrames = 150; // the field's loose blocks come to rest
constexpr int kFlightFrames = 10;  // frames between a shot and the picture

void PutBig32(std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    // The checksum covers the type and the data, not the length.
    const uLong crc = crc32(0L, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
    PutBig32(out, static_cast<uint32_t>(crc));
}

// The surface as an 8-bit RGB PNG; false with a message on stderr on any failure.
bool WritePng(SDL_Surface* surface, const std::string& path)
{
    const int width = surface->w;
    const int height = surface->h;
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<size_t>(height) * (1 + 3 * static_cast<size_t>(width)));
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        std::fprintf(stderr, "screenshot: cannot lock the screen: %s\n", SDL_GetError());
        return false;
    }
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no row filter
        for (int x = 0; x < width; ++x) {
            const PixelColour colour = ReadPixelLocked(surface, x, y);
            raw.push_back(colour.r);
            raw.push_back(colour.g);
            raw.push_back(colour.b);
        }
    }
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }

    std::vector<unsigned char> packed(compressBound(static_cast<uLong>(raw.size())));
    uLongf packedSize = static_cast<uLongf>(packed.size());
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        std::fprintf(stderr, "screenshot: compression failed for %s\n", path.c_str());
        return false;
    }
    packed.resize(packedSize);

    std::vector<unsigned char> header;
    PutBig32(header, static_cast<uint32_t>(width));
    PutBig32(header, static_cast<uint32_t>(height));
    header.push_back(8); // bits per channel
    header.push_back(2); // RGB
    header.push_back(0); // deflate
    header.push_back(0); // adaptive filtering
    header.push_back(0); // not interlaced

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});

    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        std::perror(("screenshot: " + path).c_str());
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

void RunFrames(Shooter& game, int count)
{
    for (int i = 0; i < count; ++i) {
        game.RunFrame();
    }
}

// A slingshot drag through the game's own handlers: press, pull back in steps, release.
void Shoot(Shooter& game, int fromX, int fromY, int pullX, int pullY, int steps, bool release)
{
    game.OnLButtonDown(fromX, fromY);
    int x = fromX;
    int y = fromY;
    for (int i = 0; i < steps; ++i) {
        x += pullX;
        y += pullY;
        game.OnMouseMove(x, y, pullX, pullY, true, false, false);
    }
    if (release) {
        game.OnLButtonUp(x, y);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [output directory]\n", argv[0]);
        return 2;
    }
    const std::string outDir = argc == 2 ? argv[1] : "docs";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    Shooter game;
    if (!game.OnInit()) {
        std::fprintf(stderr, "screenshot: the game did not start (run from the repository root): %s\n",
                     SDL_GetError());
        return 1;
    }
    game.SetLevelSeed(kLevelSeed);

    game.OnRender();
    bool ok = WritePng(game.screen, outDir + "/start-screen.png");

    if (ok) {
        game.OnLButtonDown(500, 216); // the start button
        game.OnLButtonUp(500, 216);
        ok = game.gameState == GameState::Playing;
        if (!ok) {
            std::fprintf(stderr, "screenshot: the start button did not start the game\n");
        }
    }
    if (ok) {
        RunFrames(game, kSettleFrames);
        // Press on the cannon and pull down-left: the shots fly up and to the right.
        const Cannon* cannon = game.CurrentMap().GetCannon();
        const int cannonX = cannon != nullptr ? static_cast<int>(cannon->x * 50.0f) : 25;
        const int cannonY = cannon != nullptr ? static_cast<int>(cannon->y * 50.0f) : 25;
        Shoot(game, cannonX, cannonY, -8, 5, 9, true); // a pig
        RunFrames(game, kFlightFrames);
        game.OnKeyDown(SDLK_x, KMOD_NONE, 0); // a cow
        Shoot(game, cannonX, cannonY, -15, 13, 12, true);
        RunFrames(game, kFlightFrames);
        game.OnLButtonDown(250, 300); // the second click splits the cow into three pigs
        game.OnLButtonUp(250, 300);
        RunFrames(game, kFlightFrames / 2);
        // The next shot is being aimed: both markers show.
        Shoot(game, 250, 300, -6, 4, 8, false);
        game.OnRender();
        ok = WritePng(game.screen, outDir + "/in-play.png");
    }

    game.OnCleanup();
    return ok ? 0 : 1;
}
