// Where the interface sprites sit on the screen, in pixels: read by the game and by whatever clicks on it.
#pragma once

#include "assets/asset_catalog.h"

#include <cstdint>

namespace Layout {

struct ScreenPoint {
    int32_t x;
    int32_t y;
};

// The bars span the window's width along its top and bottom edges; points are sprite centres.
constexpr ScreenPoint kTopBarCentre{Asset::kWindowWidth / 2, Asset::kTopBar.height / 2};
constexpr ScreenPoint kBotBarCentre{Asset::kWindowWidth / 2,
                                    Asset::kWindowHeight - Asset::kBotBar.height / 2};

// A lit state of the bottom bar: its centre on screen, from its corner's place on the bar.
constexpr ScreenPoint BotBarLightCentre(const Asset::Bitmap& light, Asset::BarSpot spot)
{
    return {spot.x + light.width / 2,
            Asset::kWindowHeight - Asset::kBotBar.height + spot.y + light.height / 2};
}

// The start button, and the end picture in the same place: across the middle, a little above it.
constexpr ScreenPoint kStartButtonCentre{500, 216};

}  // namespace Layout
