// Starting the game without a display for the tools and benchmarks, and its first level.
#pragma once

#include "render/interface_layout.h"

class Shooter;

namespace Drive {

// A point inside the start screen's button, in window pixels: its centre.
constexpr int kStartButtonX = Layout::kStartButtonCentre.x;
constexpr int kStartButtonY = Layout::kStartButtonCentre.y;

// SDL's dummy video and audio drivers, then the game's own start-up. On failure, one line on
// stderr that starts with `tool` and says why; the game reads ./bmp/ from the working directory.
bool StartHeadless(Shooter& game, const char* tool);

// Clicks the start button straight through the game's handlers: the level is built from `seed`
// before any frame runs. False when the game did not start playing.
bool StartLevel(Shooter& game, unsigned seed);

}  // namespace Drive
