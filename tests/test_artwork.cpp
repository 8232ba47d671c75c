// Checks the generated pictures under ./bmp/: sizes, tile sheet layout, damage overlays and see-through sprites.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Rgb {
    Uint8 r = 0, g = 0, b = 0;
    bool magenta() const { return r == 255 && g == 0 && b == 255; }
    bool operator==(const Rgb&) const = default;
};

// A loaded picture with its pixels copied out, so tests can read them freely.
class Picture {
public:
    explicit Picture(const std::string& name) {
        const std::string path = "bmp/" + name;
        std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(SDL_LoadBMP(path.c_str()), SDL_FreeSurface);
        if (!surface) return;
        w_ = surface->w;
        h_ = surface->h;
        if (SDL_MUSTLOCK(surface.get())) SDL_LockSurface(surface.get());
        pixels_.reserve(static_cast<std::size_t>(w_) * h_);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) pixels_.push_back(read(surface.get(), x, y));
        if (SDL_MUSTLOCK(surface.get())) SDL_UnlockSurface(surface.get());
    }

    bool loaded() const { return w_ > 0; }
    int width() const { return w_; }
    int height() const { return h_; }
    Rgb at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * w_ + x]; }
    bool operator==(const Picture& other) const { return w_ == other.w_ && h_ == other.h_ && pixels_ == other.pixels_; }

    // Number of pixels in the rectangle that are not the see-through magenta.
    int opaque_in(int x0, int y0, int w, int h) const {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) n += !at(x, y).magenta();
        return n;
    }

private:
    static Rgb read(SDL_Surface* s, int x, int y) {
        const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
        Uint32 value = 0;
        switch (s->format->BytesPerPixel) {
            case 1: value = *p; break;
            case 2: value = *reinterpret_cast<const Uint16*>(p); break;
            case 3:
                value = SDL_BYTEORDER == SDL_BIG_ENDIAN ? (Uint32{p[0]} << 16 | Uint32{p[1]} << 8 | p[2])
                                                        : (Uint32{p[0]} | Uint32{p[1]} << 8 | Uint32{p[2]} << 16);
                break;
            default: value = *reinterpret_cast<const Uint32*>(p); break;
        }
        Rgb c;
        SDL_GetRGB(value, s->format, &c.r, &c.g, &c.b);
        return c;
    }

    int w_ = 0, h_ = 0;
    std::vector<Rgb> pixels_;
};

struct Expected {
    const char* name;
    int width, height;
};

const std::vector<Expected> kPictures{
    {"background.bmp", 1000, 650}, {"blocktileset.bmp", 800, 800}, {"top_bar.bmp", 1000, 64}, {"bot_bar.bmp", 1000, 32},
    {"target1.bmp", 64, 64},       {"Target1.bmp", 64, 64},        {"target2.bmp", 16, 16},   {"Target2.bmp", 16, 16},
    {"cake.bmp", 50, 50},          {"Start.bmp", 400, 200},        {"END.bmp", 400, 200},     {"p1cannon.bmp", 45, 45},
    {"bullet.bmp", 20, 20},        {"pig.bmp", 20, 20},            {"vaca.bmp", 40, 40},      {"ovelha.bmp", 30, 30},
};

constexpr int kTile = 50;

}  // namespace

// ---------------------------------------------------------------------------
// The files themselves
// ---------------------------------------------------------------------------

TEST(ArtworkFiles, EveryPictureLoadsWithItsSize) {
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(e.name);
        const Picture pic(e.name);
        ASSERT_TRUE(pic.loaded()) << SDL_GetError();
        EXPECT_EQ(pic.width(), e.width);
        EXPECT_EQ(pic.height(), e.height);
    }
}

TEST(ArtworkFiles, CapitalisedMarkerNamesHoldTheSamePicture) {
    EXPECT_TRUE(Picture("target1.bmp") == Picture("Target1.bmp"));
    EXPECT_TRUE(Picture("target2.bmp") == Picture("Target2.bmp"));
}

TEST(ArtworkFiles, BackgroundIsNeverSeeThrough) {
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
    void SetUp() override { ASSERT_TRUE(sheet.loaded() && sheet.width() == 800 && sheet.height() == 800); }
};

TEST_F(BlockTileset, EveryBlockKindHasAFullTile) {
    struct Tile {
        const char* kind;
        int x, y;
    };
    const std::vector<Tile> tiles{{"bedrock", 50, 0},   {"earth", 100, 0},   {"ledge", 150, 0},   {"pedestal", 350, 0},
                                  {"spring", 400, 0},   {"unknown", 550, 0}, {"anchor", 700, 100}};
    for (const Tile& t : tiles) {
        SCOPED_TRACE(t.kind);
        // blocks are solid squares: nearly every pixel of the tile must be drawn
        EXPECT_GE(sheet.opaque_in(t.x, t.y, kTile, kTile), kTile * kTile * 9 / 10);
    }
}

TEST_F(BlockTileset, TargetCakeStaysInsideTheTargetBody) {
    constexpr int kX = 600, kY = 400, kBody = 45;
    const int inside = sheet.opaque_in(kX, kY, kBody, kBody);
    EXPECT_GE(inside, kBody * kBody * 2 / 5) << "the cake should fill a good part of the target";
    const int whole_tile = sheet.opaque_in(kX, kY, kTile, kTile);
    EXPECT_EQ(whole_tile, inside) << "pixels drawn outside the 45 x 45 target body";
}

TEST_F(BlockTileset, DamageOverlaysAreSeeThroughAndGrowWithDamage) {
    constexpr int kY = 750;
    int previous = 0;
    for (int n = 0; n < 10; ++n) {
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

TEST(Sprites, SeeThroughSpritesHaveClearCornersAndADrawnCentre) {
    struct Sprite {
        const char* name;
        double centre_share;  // minimum drawn share of the middle third
    };
    // markers are mostly open rings, so only a little of their centre is drawn
    const std::vector<Sprite> sprites{{"target1.bmp", 0.02}, {"Target1.bmp", 0.02}, {"target2.bmp", 0.02}, {"Target2.bmp", 0.02},
                                      {"pig.bmp", 0.8},      {"vaca.bmp", 0.8},     {"ovelha.bmp", 0.8},   {"bullet.bmp", 0.9},
                                      {"p1cannon.bmp", 0.5}, {"cake.bmp", 0.6},     {"Start.bmp", 0.8},    {"END.bmp", 0.8}};
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
        EXPECT_GE(pic.opaque_in(w / 3, h / 3, cw, ch), static_cast<int>(s.centre_share * cw * ch + 0.999)) << "centre";
    }
}

TEST(Sprites, NoColoursCloseToMagenta) {
    // Colour keying removes exact magenta only: a pixel that is merely close to it (an edge blended
    // toward the see-through background) would show as a pink fringe in the game.
    for (const Expected& e : kPictures) {
        if (std::string(e.name) == "background.bmp") continue;
        SCOPED_TRACE(e.name);
        const Picture pic(e.name);
        ASSERT_TRUE(pic.loaded());
        int fringe = 0;
        for (int y = 0; y < pic.height(); ++y)
            for (int x = 0; x < pic.width(); ++x) {
                const Rgb c = pic.at(x, y);
                if (c.magenta()) continue;
                const int distance = (255 - c.r) + c.g + (255 - c.b);
                fringe += distance < 90;
            }
        EXPECT_EQ(fringe, 0);
    }
}
