// Facts about the game's pictures shared by the game, the artwork tool and the tests: files, sizes, layout.
#pragma once

#include "assets/colour.h"

#include <cstdint>
#include <string_view>

namespace Asset {

// A 24-bit bitmap under ./bmp/, read from the working directory; sizes in pixels.
struct Bitmap {
    const char* path;
    int width;
    int height;

    // The file name alone, for writing the picture into another folder.
    constexpr std::string_view FileName() const
    {
        const std::string_view full(path);
        return full.substr(full.rfind('/') + 1);
    }
};

constexpr Bitmap kBackground{"./bmp/background.bmp", 1000, 650};
constexpr Bitmap kBlockTileset{"./bmp/blocktileset.bmp", 800, 800};
constexpr Bitmap kTopBar{"./bmp/top_bar.bmp", 1000, 64};
constexpr Bitmap kBotBar{"./bmp/bot_bar.bmp", 1000, 32};
// The aiming markers exist under two spellings: the field loads the lower-case ones, the
// interface the capitalised ones. Both hold the same picture.
constexpr Bitmap kTarget1{"./bmp/target1.bmp", 64, 64};
constexpr Bitmap kTarget1Interface{"./bmp/Target1.bmp", 64, 64};
constexpr Bitmap kTarget2{"./bmp/target2.bmp", 16, 16};
constexpr Bitmap kTarget2Interface{"./bmp/Target2.bmp", 16, 16};
constexpr Bitmap kCake{"./bmp/cake.bmp", 50, 50};
constexpr Bitmap kStartButton{"./bmp/Start.bmp", 400, 200};
constexpr Bitmap kEndPicture{"./bmp/END.bmp", 400, 200};
constexpr Bitmap kCannon{"./bmp/p1cannon.bmp", 45, 45};
constexpr Bitmap kBullet{"./bmp/bullet.bmp", 20, 20};
constexpr Bitmap kPig{"./bmp/pig.bmp", 20, 20};
constexpr Bitmap kCow{"./bmp/vaca.bmp", 40, 40};
constexpr Bitmap kSheep{"./bmp/ovelha.bmp", 30, 30};
constexpr Bitmap kWindowIcon{"./bmp/icon.bmp", 64, 64};
// The bottom bar's lit states, each laid over the part of the bar it lights: the key of the animal
// the next shot fires, and the trick's words while a cow's or a sheep's trick waits for its click.
constexpr Bitmap kLitPig{"./bmp/lit_pig.bmp", 66, 22};
constexpr Bitmap kLitCow{"./bmp/lit_cow.bmp", 66, 22};
constexpr Bitmap kLitSheep{"./bmp/lit_sheep.bmp", 90, 22};
constexpr Bitmap kLitTrick{"./bmp/lit_trick.bmp", 306, 22};

// Where a lit state's top-left corner sits on the bottom bar, in pixels from the bar's own corner.
struct BarSpot {
    int x;
    int y;
};
constexpr BarSpot kLitPigSpot{17, 9};
constexpr BarSpot kLitCowSpot{93, 9};
constexpr BarSpot kLitSheepSpot{169, 9};
constexpr BarSpot kLitTrickSpot{677, 9};

// Every bitmap the game reads, in the order the artwork tool writes them.
constexpr Bitmap kBitmaps[] = {
    kBackground, kBlockTileset,
    kTopBar,     kBotBar,
    kTarget1,    kTarget1Interface,
    kTarget2,    kTarget2Interface,
    kCake,       kStartButton,
    kEndPicture, kCannon,
    kBullet,     kPig,
    kCow,        kSheep,
    kWindowIcon, kLitPig,
    kLitCow,     kLitSheep,
    kLitTrick,
};

// The pictures the field is drawn from: the game does not start without any of them. Every
// other picture is optional; without it its sprite is left undrawn.
constexpr const Bitmap* kFieldBitmaps[] = {&kBlockTileset, &kBackground, &kCannon,
                                           &kTarget1,      &kTarget2,    &kBullet};

// The desktop icons (PNG, with alpha), one square size per folder
// desktop/icons/<size>x<size>/apps/farmyard-cannon.png.
constexpr int kDesktopIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr std::string_view kDesktopIconName = "farmyard-cannon.png";

// The game window, in pixels; the background covers it exactly.
constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 650;

// Pixels of this colour are see-through in every picture but the background.
constexpr Colour kColourKey{255, 0, 255};  // magenta

// The tile sheet: square tiles of kTileSize pixels, addressed by their top-left pixel.
constexpr int kTileSize = 50;

struct TilePosition {
    std::uint16_t x;
    std::uint16_t y;
};

constexpr TilePosition kBedrockTile{50, 0};
constexpr TilePosition kEarthTile{100, 0};
constexpr TilePosition kLedgeTile{150, 0};
constexpr TilePosition kPedestalTile{350, 0};
constexpr TilePosition kSpringTile{400, 0};
constexpr TilePosition kUnknownTile{550, 0};  // for a kind the game never makes
constexpr TilePosition kAnchorTile{700, 100};
// A target's cake, drawn from its tile's corner at the target body's width.
constexpr TilePosition kTargetTile{600, 400};
constexpr int kTargetPictureSize = 45;

// The damage overlays: kDamageOverlayCount tiles side by side from x = 0 along the row at
// y = kDamageOverlayRow, each showing more cracks than the one before.
constexpr int kDamageOverlayRow = 750;
constexpr int kDamageOverlayCount = 10;

}  // namespace Asset
