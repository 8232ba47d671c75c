// Checks the generated pictures under ./bmp/: sizes, tile sheet layout, damage overlays and see-through
// sprites, and that the artwork tool still draws them byte for byte.
#include "assets/asset_catalog.h"
#include "render/surface_pixels.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using Rgb = Asset::Colour;

// A loaded picture with its pixels copied out, so tests can read them freely.
class Picture {
public:
    explicit Picture(const std::string& name)
    {
        const std::string path = "bmp/" + name;
        std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(SDL_LoadBMP(path.c_str()),
                                                                         SDL_FreeSurface);
        if (!surface)
            return;
        w_ = surface->w;
        h_ = surface->h;
        if (SDL_MUSTLOCK(surface.get()))
            SDL_LockSurface(surface.get());
        pixels_.reserve(static_cast<std::size_t>(w_) * h_);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                pixels_.push_back(ReadPixelLocked(surface.get(), x, y));
        if (SDL_MUSTLOCK(surface.get()))
            SDL_UnlockSurface(surface.get());
    }

    bool loaded() const { return w_ > 0; }
    int width() const { return w_; }
    int height() const { return h_; }
    Rgb at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * w_ + x]; }
    bool operator==(const Picture& other) const
    {
        return w_ == other.w_ && h_ == other.h_ && pixels_ == other.pixels_;
    }

    // Number of pixels in the rectangle that are not the see-through magenta.
    int opaque_in(int x0, int y0, int w, int h) const
    {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                n += at(x, y) != Asset::kColourKey;
        return n;
    }

private:
    int w_ = 0, h_ = 0;
    std::vector<Rgb> pixels_;
};

constexpr int kTile = Asset::kTileSize;

std::string FileName(const Asset::Bitmap& bitmap)
{
    return std::string(bitmap.FileName());
}

[[maybe_unused]] std::string Contents(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

// ---------------------------------------------------------------------------
// The files themselves
// ---------------------------------------------------------------------------

TEST(ArtworkFiles, EveryPictureLoadsWithItsSize)
{
    for (const Asset::Bitmap& bitmap : Asset::kBitmaps) {
        SCOPED_TRACE(bitmap.path);
        const Picture pic(FileName(bitmap));
        ASSERT_TRUE(pic.loaded()) << SDL_GetError();
        EXPECT_EQ(pic.width(), bitmap.width);
        EXPECT_EQ(pic.height(), bitmap.height);
    }
}

// Only where the artwork tool is built beside the game (SHOOTER_BUILD_TOOLS).
#ifdef MAKE_ARTWORK_BINARY
// The committed pictures are what the artwork tool draws, byte for byte, and nothing else lies in bmp/:
// a change to a drawing, or to the catalogue, that was not regenerated and committed fails here.
TEST(ArtworkFiles, ToolRedrawsTheCommittedPicturesExactly)
{
    namespace fs = std::filesystem;
    const fs::path out = fs::temp_directory_path() / ("artwork_test_" + std::to_string(getpid()));
    fs::remove_all(out);
    const std::string command = std::string("'") + MAKE_ARTWORK_BINARY + "' '" + (out / "bmp").string() +
                                "' '" + (out / "icons").string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::set<std::string> expected;
    for (const Asset::Bitmap& bitmap : Asset::kBitmaps) {
        expected.insert(FileName(bitmap));
        EXPECT_TRUE(Contents(out / "bmp" / FileName(bitmap)) == Contents(fs::path("bmp") / FileName(bitmap)))
            << "bmp/" << FileName(bitmap) << " differs from what make_artwork draws";
    }
    for (const fs::directory_entry& entry : fs::directory_iterator("bmp")) {
        EXPECT_TRUE(expected.count(entry.path().filename().string()))
            << entry.path() << " is in bmp/ but not in the asset catalogue";
    }
    for (int size : Asset::kDesktopIconSizes) {
        const fs::path icon =
            fs::path(std::to_string(size) + "x" + std::to_string(size)) / "apps" / Asset::kDesktopIconName;
        EXPECT_TRUE(Contents(out / "icons" / icon) == Contents(fs::path("desktop/icons") / icon))
            << "desktop/icons/" << icon.string() << " differs from what make_artwork draws";
    }
    fs::remove_all(out);
}
#endif

TEST(ArtworkFiles, CapitalisedMarkerNamesHoldTheSamePicture)
{
    EXPECT_TRUE(Picture("target1.bmp") == Picture("Target1.bmp"));
    EXPECT_TRUE(Picture("target2.bmp") == Picture("Target2.bmp"));
}

TEST(ArtworkFiles, BackgroundIsNeverSeeThrough)
{
    const Picture bg("background.bmp");
    ASSERT_TRUE(bg.loaded());
    EXPECT_EQ(bg.opaque_in(0, 0, bg.width(), bg.height()), bg.width() * bg.height());
}

// ---------------------------------------------------------------------------
// Block tile sheet
// ---------------------------------------------------------------------------

class BlockTileset : public ::testing::Test {
protected:
    Picture sheet{"blocktileset.bmp"};
    void SetUp() override
    {
        ASSERT_TRUE(sheet.loaded() && sheet.width() == Asset::kBlockTileset.width &&
                    sheet.height() == Asset::kBlockTileset.height);
    }
};

TEST_F(BlockTileset, EveryBlockKindHasAFullTile)
{
    struct Tile {
        const char* kind;
        int x, y;
    };
    const std::vector<Tile> tiles{{"bedrock", Asset::kBedrockTile.x, Asset::kBedrockTile.y},
                                  {"earth", Asset::kEarthTile.x, Asset::kEarthTile.y},
                                  {"ledge", Asset::kLedgeTile.x, Asset::kLedgeTile.y},
                                  {"pedestal", Asset::kPedestalTile.x, Asset::kPedestalTile.y},
                                  {"spring", Asset::kSpringTile.x, Asset::kSpringTile.y},
                                  {"unknown", Asset::kUnknownTile.x, Asset::kUnknownTile.y},
                                  {"anchor", Asset::kAnchorTile.x, Asset::kAnchorTile.y}};
    for (const Tile& t : tiles) {
        SCOPED_TRACE(t.kind);
        // blocks are solid squares: nearly every pixel of the tile must be drawn
        EXPECT_GE(sheet.opaque_in(t.x, t.y, kTile, kTile), kTile * kTile * 9 / 10);
    }
}

TEST_F(BlockTileset, TargetCakeStaysInsideTheTargetBody)
{
    constexpr int kX = Asset::kTargetTile.x, kY = Asset::kTargetTile.y, kBody = Asset::kTargetPictureSize;
    const int inside = sheet.opaque_in(kX, kY, kBody, kBody);
    EXPECT_GE(inside, kBody * kBody * 2 / 5) << "the cake should fill a good part of the target";
    const int whole_tile = sheet.opaque_in(kX, kY, kTile, kTile);
    EXPECT_EQ(whole_tile, inside) << "pixels drawn outside the 45 x 45 target body";
}

TEST_F(BlockTileset, DamageOverlaysAreSeeThroughAndGrowWithDamage)
{
    constexpr int kY = Asset::kDamageOverlayRow;
    int previous = 0;
    for (int n = 0; n < Asset::kDamageOverlayCount; ++n) {
        SCOPED_TRACE("overlay " + std::to_string(n));
        const int covered = sheet.opaque_in(n * kTile, kY, kTile, kTile);
        EXPECT_GT(covered, 0) << "no crack drawn";
        EXPECT_LT(covered, kTile * kTile) << "an overlay must let the block show through";
        EXPECT_GT(covered, previous) << "more damage must cover more of the block";
        previous = covered;
    }
    // even the first, lightest crack must leave most of the block visible
    EXPECT_LT(sheet.opaque_in(0, kY, kTile, kTile), kTile * kTile / 10);
}

// ---------------------------------------------------------------------------
// Colour-keyed sprites
// ---------------------------------------------------------------------------

TEST(Sprites, SeeThroughSpritesHaveClearCornersAndADrawnCentre)
{
    struct Sprite {
        const char* name;
        double centre_share;  // minimum drawn share of the middle third
    };
    // markers are mostly open rings, so only a little of their centre is drawn
    const std::vector<Sprite> sprites{{"target1.bmp", 0.02}, {"Target1.bmp", 0.02}, {"target2.bmp", 0.02},
                                      {"Target2.bmp", 0.02}, {"pig.bmp", 0.8},      {"vaca.bmp", 0.8},
                                      {"ovelha.bmp", 0.8},   {"bullet.bmp", 0.9},   {"p1cannon.bmp", 0.5},
                                      {"cake.bmp", 0.6},     {"Start.bmp", 0.8},    {"END.bmp", 0.8}};
    for (const Sprite& s : sprites) {
        SCOPED_TRACE(s.name);
        const Picture pic(s.name);
        ASSERT_TRUE(pic.loaded());
        const int w = pic.width(), h = pic.height();
        EXPECT_EQ(pic.opaque_in(0, 0, 2, 2), 0) << "top-left corner";
        EXPECT_EQ(pic.opaque_in(w - 2, 0, 2, 2), 0) << "top-right corner";
        EXPECT_EQ(pic.opaque_in(0, h - 2, 2, 2), 0) << "bottom-left corner";
        EXPECT_EQ(pic.opaque_in(w - 2, h - 2, 2, 2), 0) << "bottom-right corner";
        const int cw = w / 3, ch = h / 3;
        EXPECT_GE(pic.opaque_in(w / 3, h / 3, cw, ch), static_cast<int>(s.centre_share * cw * ch + 0.999))
            << "centre";
    }
}

TEST(Sprites, NoColoursCloseToMagenta)
{
    // Colour keying removes exact magenta only: a pixel that is merely close to it (an edge blended
    // toward the see-through background) would show as a pink fringe in the game.
    for (const Asset::Bitmap& bitmap : Asset::kBitmaps) {
        if (bitmap.FileName() == Asset::kBackground.FileName()) {
            continue;
        }
        SCOPED_TRACE(bitmap.path);
        const Picture pic(FileName(bitmap));
        ASSERT_TRUE(pic.loaded());
        int fringe = 0;
        for (int y = 0; y < pic.height(); ++y)
            for (int x = 0; x < pic.width(); ++x) {
                const Rgb c = pic.at(x, y);
                if (c == Asset::kColourKey)
                    continue;
                const int distance = (255 - c.r) + c.g + (255 - c.b);
                fringe += distance < 90;
            }
        EXPECT_EQ(fringe, 0);
    }
}
