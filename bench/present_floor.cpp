// The floor for the game's frame: the same window, bitmaps and kind of blits as a level in play
// and the flip, paced the same way, with no game code. Reports like pace_probe.
// Usage: present_floor [seconds]   (run from the repository root, on an X display)
#include "app/frame_pacer.h"
#include "app/video_defaults.h"
#include "assets/asset_catalog.h"
#include "assets/cimage.h"
#include "pace_report.h"

#include <SDL.h>

#include <cstdlib>

namespace {

// About the blits of a generated level: the background, eight rows of tiles, the bars and the
// cake icons.
void DrawLevelLike(SDL_Surface* screen, SDL_Surface* background, SDL_Surface* tiles, SDL_Surface* top,
                   SDL_Surface* bottom, SDL_Surface* cake)
{
    CImage::Draw(screen, background, 0, 0);
    for (int row = 5; row < 13; ++row) {
        for (int column = 0; column < 20; ++column) {
            CImage::DrawPart(screen, tiles, column * Asset::kTileSize, row * Asset::kTileSize,
                             Asset::kEarthTile.x, Asset::kEarthTile.y, Asset::kTileSize, Asset::kTileSize);
        }
    }
    CImage::Draw(screen, top, 0, 0);
    CImage::Draw(screen, bottom, 0, Asset::kWindowHeight - Asset::kBotBar.height);
    for (int i = 0; i < 3; ++i) {
        CImage::Draw(screen, cake, 10 + 60 * i, 10);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    SetVideoDefaults();
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "present_floor: SDL did not start: %s\n", SDL_GetError());
        return 1;
    }
    std::atexit(SDL_Quit);
    SDL_Surface* screen =
        SDL_SetVideoMode(Asset::kWindowWidth, Asset::kWindowHeight, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    SDL_Surface* background = CImage::Load(Asset::kBackground.path);
    SDL_Surface* tiles = CImage::Load(Asset::kBlockTileset.path);
    SDL_Surface* top = CImage::Load(Asset::kTopBar.path);
    SDL_Surface* bottom = CImage::Load(Asset::kBotBar.path);
    SDL_Surface* cake = CImage::Load(Asset::kCake.path);
    if (screen == nullptr || background == nullptr || tiles == nullptr || top == nullptr ||
        bottom == nullptr || cake == nullptr) {
        std::fprintf(stderr, "present_floor: no window or no bitmaps (run from the repository root)\n");
        return 1;
    }
    CImage::SetTransparent(tiles, Asset::kColourKey.r, Asset::kColourKey.g, Asset::kColourKey.b);
    CImage::SetTransparent(cake, Asset::kColourKey.r, Asset::kColourKey.g, Asset::kColourKey.b);

    FramePacer pacer(SystemClock::Instance());
    PaceReport report;
    const double begin = PaceReport::NowSeconds();
    bool measuring = false;
    for (;;) {
        pacer.StartFrame();
        const double elapsed = PaceReport::NowSeconds() - begin;
        if (elapsed >= 1.0 + seconds) {
            break;
        }
        if (!measuring && elapsed >= 1.0) {
            measuring = true;
            report.Start();
        }
        if (measuring) {
            report.Iteration();
        }
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
        }
        DrawLevelLike(screen, background, tiles, top, bottom, cake);
        SDL_Flip(screen);
        pacer.FinishFrame();
    }
    report.Print("floor");
    for (SDL_Surface* surface : {background, tiles, top, bottom, cake}) {
        SDL_FreeSurface(surface);
    }
    return 0;
}
