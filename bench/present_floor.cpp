// The floor for the game's frame: the same window, bitmaps and kind of blits as a level in play
// and the flip, paced the same way, with no game code. Reports like pace_probe.
// Usage: present_floor [seconds]   (run from the repository root, on an X display)
#include "app/cimage.h"
#include "app/frame_pacer.h"
#include "app/video_defaults.h"
#include "bench/pace_report.h"

#include <SDL.h>

#include <cstdlib>

namespace {

constexpr int kTileSize = 50; // pixels

} // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    SetVideoDefaults();
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "present_floor: SDL did not start: %s\n", SDL_GetError());
        return 1;
    }
    std::atexit(SDL_Quit);
    SDL_Surface* screen = SDL_SetVideoMode(1000, 650, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    SDL_Surface* background = CImage::Load("./bmp/background.bmp");
    SDL_Surface* tiles = CImage::Load("./bmp/blocktileset.bmp");
    SDL_Surface* top = CImage::Load("./bmp/top_bar.bmp");
    SDL_Surface* bottom = CImage::Load("./bmp/bot_bar.bmp");
    SDL_Surface* cake = CImage::Load("./bmp/cake.bmp");
    if (screen == nullptr || background == nullptr || tiles == nullptr || top == nullptr ||
        bottom == nullptr || cake == nullptr) {
        std::fprintf(stderr, "present_floor: no window or no bitmaps (run from the repository root)\n");
        return 1;
    }
    CImage::SetTransparent(tiles, 255, 0, 255);
    CImage::SetTransparent(cake, 255, 0, 255);

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
        // About the blits of a generated level: the background, eight rows of tiles, the bars
        // and the cake icons.
        CImage::Draw(screen, background, 0, 0);
        for (int row = 5; row < 13; ++row) {
            for (int column = 0; column < 20; ++column) {
                CImage::DrawPart(screen, tiles, column * kTileSize, row * kTileSize, 100, 0, kTileSize,
                                 kTileSize);
            }
        }
        CImage::Draw(screen, top, 0, 0);
        CImage::Draw(screen, bottom, 0, 618);
        for (int i = 0; i < 3; ++i) {
            CImage::Draw(screen, cake, 10 + 60 * i, 10);
        }
        SDL_Flip(screen);
        pacer.FinishFrame();
    }
    report.Print("floor");
    for (SDL_Surface* surface : {background, tiles, top, bottom, cake}) {
        SDL_FreeSurface(surface);
    }
    return 0;
}
