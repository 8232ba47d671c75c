// Bitmap operations: loading, whole and partial blits, clipping and the magenta colour key.
#include "assets/asset_catalog.h"
#include "assets/cimage.h"
#include "game_fixture.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// One colour key as the game set it: the flags it asked for, and the key the surface then carried
// against the magenta in the surface's own format.
struct KeyedSurface {
    Uint32 flags;
    Uint32 key;
    Uint32 magenta;
};

// While set, every SDL_SetColorKey call made once the window is open is noted here: the pictures
// the game blits. (The window icon is keyed before, for the window manager, and never blitted.)
// The RLE request cannot be read back from the surface: this SDL keeps it out of the flags.
std::vector<KeyedSurface>* keyedSurfaces = nullptr;

}  // namespace

// Stands in front of SDL's SDL_SetColorKey for this test program, so the keying can be watched.
extern "C" int SDL_SetColorKey(SDL_Surface* surface, Uint32 flag, Uint32 key)
{
    using KeyFunction = int (*)(SDL_Surface*, Uint32, Uint32);
    static const KeyFunction sdlKey = reinterpret_cast<KeyFunction>(dlsym(RTLD_NEXT, "SDL_SetColorKey"));
    const int result = sdlKey(surface, flag, key);
    if (keyedSurfaces != nullptr && surface != nullptr && SDL_GetVideoSurface() != nullptr) {
        const Asset::Colour magenta = Asset::kColourKey;
        keyedSurfaces->push_back(
            {flag, surface->format->colorkey, SDL_MapRGB(surface->format, magenta.r, magenta.g, magenta.b)});
    }
    return result;
}

namespace {

const Rgb kMagenta{255, 0, 255};
const Rgb kSentinel{1, 2, 3};  // the destination's colour before a blit

class CImageTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        // Loading converts to the display's format, so a display must exist.
        screen = SDL_SetVideoMode(64, 48, 32, SDL_SWSURFACE);
        ASSERT_NE(screen, nullptr) << SDL_GetError();
        char pattern[] = "/tmp/cimage-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }

    void TearDown() override
    {
        for (SDL_Surface* surface : owned) {
            SDL_FreeSurface(surface);
        }
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
        SDL_Quit();
    }

    SDL_Surface* Own(SDL_Surface* surface)
    {
        owned.push_back(surface);
        return surface;
    }

    // A 32-bit surface whose pixel (x, y) has colour(x, y).
    template <typename ColourOf>
    SDL_Surface* MakeSurface(int w, int h, ColourOf colour, int depth = 32)
    {
        SDL_Surface* surface = depth == 32
                                   ? SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0)
                                   : SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0xFF00, 0xFF, 0);
        EXPECT_NE(surface, nullptr) << SDL_GetError();
        if (surface == nullptr) {
            return nullptr;
        }
        Own(surface);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Rgb c = colour(x, y);
                SDL_Rect one{static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
                SDL_FillRect(surface, &one,
                             SDL_MapRGB(surface->format, static_cast<Uint8>(c.r), static_cast<Uint8>(c.g),
                                        static_cast<Uint8>(c.b)));
            }
        }
        return surface;
    }

    SDL_Surface* Filled(int w, int h, Rgb c)
    {
        return MakeSurface(w, h, [c](int, int) { return c; });
    }

    // Writes the surface as a BMP file and loads it back through the game's loader.
    SDL_Surface* SaveAndLoad(SDL_Surface* surface, const std::string& name)
    {
        const std::string path = dir + "/" + name;
        EXPECT_EQ(SDL_SaveBMP(surface, path.c_str()), 0) << SDL_GetError();
        SDL_Surface* loaded = CImage::Load(path.c_str());
        EXPECT_NE(loaded, nullptr) << "loading " << path;
        return loaded != nullptr ? Own(loaded) : nullptr;
    }

    SDL_Surface* screen = nullptr;
    std::string dir;
    std::vector<SDL_Surface*> owned;
};

// A source picture in which every pixel has a colour of its own.
Rgb Gradient(int x, int y)
{
    return {static_cast<Uint8>(20 + x * 20), static_cast<Uint8>(20 + y * 20), 200};
}

// A picture with magenta at every third pixel and colours close to magenta next to it.
Rgb Spotted(int x, int y)
{
    switch ((x + 3 * y) % 3) {
    case 0:
        return kMagenta;
    case 1:
        return x % 2 == 0 ? Rgb{254, 0, 255} : Rgb{255, 0, 254};
    default:
        return Rgb{static_cast<Uint8>(10 * x), 200, static_cast<Uint8>(10 * y)};
    }
}

}  // namespace

TEST_F(CImageTest, LoadGivesNullForMissingUnreadableAndForeignFiles)
{
    EXPECT_EQ(CImage::Load((dir + "/missing.bmp").c_str()), nullptr) << "a path that does not exist";
    EXPECT_EQ(CImage::Load(dir.c_str()), nullptr) << "a directory";
    EXPECT_EQ(CImage::Load(""), nullptr) << "an empty path";

    const std::string text = dir + "/notes.bmp";
    std::ofstream(text) << "this is not a bitmap\n";
    EXPECT_EQ(CImage::Load(text.c_str()), nullptr) << "a text file named .bmp";

    const std::string empty = dir + "/empty.bmp";
    std::ofstream(empty).close();
    EXPECT_EQ(CImage::Load(empty.c_str()), nullptr) << "an empty file";

    // A real bitmap cut off after its header.
    const std::string whole = dir + "/whole.bmp";
    ASSERT_EQ(SDL_SaveBMP(Filled(40, 40, {9, 9, 9}), whole.c_str()), 0);
    const std::string cut = dir + "/cut.bmp";
    std::filesystem::copy_file(whole, cut);
    std::filesystem::resize_file(cut, 60);
    EXPECT_EQ(CImage::Load(cut.c_str()), nullptr) << "a bitmap cut short";
}

TEST_F(CImageTest, LoadConvertsToTheDisplayFormatAndKeepsThePicture)
{
    for (int depth : {24, 32}) {
        SCOPED_TRACE(testing::Message() << depth << "-bit file");
        SDL_Surface* source = MakeSurface(7, 5, Gradient, depth);
        SDL_Surface* loaded = SaveAndLoad(source, "picture" + std::to_string(depth) + ".bmp");
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->w, 7);
        EXPECT_EQ(loaded->h, 5);
        EXPECT_EQ(loaded->format->BitsPerPixel, screen->format->BitsPerPixel);
        EXPECT_EQ(loaded->format->Rmask, screen->format->Rmask);
        EXPECT_EQ(loaded->format->Gmask, screen->format->Gmask);
        EXPECT_EQ(loaded->format->Bmask, screen->format->Bmask);
        EXPECT_EQ(loaded->format->Amask, 0u) << "no per-pixel alpha";
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 7; ++x) {
                EXPECT_EQ(PixelAt(loaded, x, y), Gradient(x, y)) << "pixel (" << x << ", " << y << ")";
            }
        }
    }
}

TEST_F(CImageTest, NullSurfacesGiveFalseAndDrawNothing)
{
    SDL_Surface* dest = Filled(8, 8, kSentinel);
    SDL_Surface* src = Filled(4, 4, {200, 100, 50});

    EXPECT_FALSE(CImage::Draw(dest, nullptr, 0, 0));
    EXPECT_FALSE(CImage::Draw(nullptr, src, 0, 0));
    EXPECT_FALSE(CImage::Draw(nullptr, nullptr, 0, 0));
    EXPECT_FALSE(CImage::DrawPart(dest, nullptr, 0, 0, 0, 0, 4, 4));
    EXPECT_FALSE(CImage::DrawPart(nullptr, src, 0, 0, 0, 0, 4, 4));
    EXPECT_FALSE(CImage::DrawPart(nullptr, nullptr, 0, 0, 0, 0, 4, 4));
    EXPECT_FALSE(CImage::SetTransparent(nullptr, 255, 0, 255));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(PixelAt(dest, x, y), kSentinel) << "pixel (" << x << ", " << y << ") was drawn on";
        }
    }
}

TEST_F(CImageTest, ColourKeyHidesExactlyMagentaAndKeyingTwiceIsKeyingOnce)
{
    constexpr int kW = 9;
    constexpr int kH = 6;
    const std::string path = dir + "/spotted.bmp";
    ASSERT_EQ(SDL_SaveBMP(MakeSurface(kW, kH, Spotted), path.c_str()), 0);

    for (int times : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "keyed " << times << " time(s)");
        // The game's way: load, then key, then blit on the display.
        SDL_Surface* picture = Own(CImage::Load(path.c_str()));
        ASSERT_NE(picture, nullptr);
        for (int i = 0; i < times; ++i) {
            EXPECT_TRUE(CImage::SetTransparent(picture, 255, 0, 255));
        }
        EXPECT_NE(picture->flags & SDL_SRCCOLORKEY, 0u) << "the surface must carry a colour key";

        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, kSentinel.r, kSentinel.g, kSentinel.b));
        // Twice, as a frame loop would: the key must hold on every blit.
        for (int frame = 0; frame < 2; ++frame) {
            EXPECT_TRUE(CImage::Draw(screen, picture, 3, 2));
        }
        int hidden = 0;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                const Rgb expected = Spotted(x, y) == kMagenta ? kSentinel : Spotted(x, y);
                hidden += Spotted(x, y) == kMagenta ? 1 : 0;
                EXPECT_EQ(PixelAt(screen, 3 + x, 2 + y), expected)
                    << "picture pixel (" << x << ", " << y << ") of colour " << Spotted(x, y);
            }
        }
        EXPECT_GT(hidden, 0);
    }

    SCOPED_TRACE("another key colour hides that colour and shows magenta");
    SDL_Surface* picture = Own(CImage::Load(path.c_str()));
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(CImage::SetTransparent(picture, 255, 0, 254));
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, kSentinel.r, kSentinel.g, kSentinel.b));
    CImage::Draw(screen, picture, 0, 0);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const Rgb expected = Spotted(x, y) == Rgb{255, 0, 254} ? kSentinel : Spotted(x, y);
            EXPECT_EQ(PixelAt(screen, x, y), expected) << "picture pixel (" << x << ", " << y << ")";
        }
    }
}

TEST_F(CImageTest, DrawPartCopiesExactlyItsRectangle)
{
    SDL_Surface* src = MakeSurface(8, 8, Gradient);
    SDL_Surface* dest = Filled(20, 16, kSentinel);

    struct Case {
        int x, y, srcX, srcY, w, h;
    };
    const Case cases[] = {
        {10, 5, 2, 3, 4, 2},   // inside
        {0, 0, 0, 0, 8, 8},    // the whole source
        {18, 14, 1, 1, 5, 5},  // clipped at the right and bottom edges
        {-2, -1, 3, 2, 4, 3},  // clipped at the left and top edges
        {4, 4, 6, 6, 5, 5},    // the rectangle runs off the source
        {4, 4, 0, 0, 0, 0},    // nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "DrawPart to (" << c.x << ", " << c.y << ") of " << c.w << " x "
                                        << c.h << " at (" << c.srcX << ", " << c.srcY << ")");
        SDL_FillRect(dest, nullptr, SDL_MapRGB(dest->format, kSentinel.r, kSentinel.g, kSentinel.b));
        EXPECT_TRUE(CImage::DrawPart(dest, src, c.x, c.y, c.srcX, c.srcY, c.w, c.h));
        for (int y = 0; y < dest->h; ++y) {
            for (int x = 0; x < dest->w; ++x) {
                const int sx = c.srcX + x - c.x;
                const int sy = c.srcY + y - c.y;
                const bool copied =
                    x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h && sx < src->w && sy < src->h;
                const Rgb expected = copied ? Gradient(sx, sy) : kSentinel;
                ASSERT_EQ(PixelAt(dest, x, y), expected) << "destination pixel (" << x << ", " << y << ")";
            }
        }
    }
}

TEST_F(CImageTest, DrawPlacesTheWholePictureClipsAndAcceptsPositionsOutside)
{
    SDL_Surface* src = MakeSurface(8, 8, Gradient);
    SDL_Surface* dest = Filled(20, 16, kSentinel);

    struct Case {
        int x, y;
    };
    const Case cases[] = {{5, 4},  {-3, -2}, {15, 12},  {-7, 9},     {20, 0},
                          {0, 16}, {-8, -8}, {-500, 3}, {3000, 3000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Draw at (" << c.x << ", " << c.y << ")");
        SDL_FillRect(dest, nullptr, SDL_MapRGB(dest->format, kSentinel.r, kSentinel.g, kSentinel.b));
        EXPECT_TRUE(CImage::Draw(dest, src, c.x, c.y)) << "true whatever part of the picture shows";
        for (int y = 0; y < dest->h; ++y) {
            for (int x = 0; x < dest->w; ++x) {
                const int sx = x - c.x;
                const int sy = y - c.y;
                const bool copied = sx >= 0 && sx < src->w && sy >= 0 && sy < src->h;
                ASSERT_EQ(PixelAt(dest, x, y), copied ? Gradient(sx, sy) : kSentinel)
                    << "destination pixel (" << x << ", " << y << ")";
            }
        }
    }

    SCOPED_TRACE("the destination's clip rectangle is respected");
    SDL_FillRect(dest, nullptr, SDL_MapRGB(dest->format, kSentinel.r, kSentinel.g, kSentinel.b));
    SDL_Rect clip{2, 2, 3, 3};
    SDL_SetClipRect(dest, &clip);
    EXPECT_TRUE(CImage::Draw(dest, src, 0, 0));
    SDL_SetClipRect(dest, nullptr);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 2 && y < 5;
            ASSERT_EQ(PixelAt(dest, x, y), inside ? Gradient(x, y) : kSentinel)
                << "pixel (" << x << ", " << y << ")";
        }
    }
}

TEST_F(CImageTest, RealBitmapVariantsStillLoad)
{
    // A BMP file: 14-byte file header, 40-byte info header, palette (BGRA), pixel data.
    const auto bmp = [](int32_t width, int32_t height, uint16_t depth, uint32_t compression,
                        const std::vector<uint32_t>& palette, const std::vector<uint8_t>& pixels) {
        std::vector<uint8_t> bytes;
        const auto put = [&bytes](uint32_t value, int count) {
            for (int i = 0; i < count; ++i) {
                bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
            }
        };
        const auto offset = static_cast<uint32_t>(54 + 4 * palette.size());
        bytes.push_back('B');
        bytes.push_back('M');
        put(offset + static_cast<uint32_t>(pixels.size()), 4);
        put(0, 4);
        put(offset, 4);
        put(40, 4);
        put(static_cast<uint32_t>(width), 4);
        put(static_cast<uint32_t>(height), 4);
        put(1, 2);
        put(depth, 2);
        put(compression, 4);
        put(static_cast<uint32_t>(pixels.size()), 4);
        put(2835, 4);
        put(2835, 4);
        put(static_cast<uint32_t>(palette.size()), 4);
        put(0, 4);
        for (const uint32_t colour : palette) {
            put(colour, 4);
        }
        bytes.insert(bytes.end(), pixels.begin(), pixels.end());
        return bytes;
    };
    const Rgb red{255, 0, 0};
    const Rgb green{0, 255, 0};
    const Rgb blue{0, 0, 255};
    struct Variant {
        const char* name;
        std::vector<uint8_t> bytes;
        int width;
        int height;
        std::vector<std::pair<std::pair<int, int>, Rgb>> pixels;  // (x, y) from the top left
        bool sdl12CompatOnly = false;  // the classic SDL library reads no compressed BMP
    };
    const std::vector<Variant> variants = {
        {"1 x 1", bmp(1, 1, 24, 0, {}, {0, 0, 255, 0}), 1, 1, {{{0, 0}, red}}},
        {"top-down rows (negative height)",
         bmp(2, -2, 24, 0, {}, {0, 0, 255, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0}),
         2,
         2,
         {{{0, 0}, red}, {{1, 0}, blue}, {{0, 1}, blue}}},
        {"paletted, 8 bits",
         bmp(2, 2, 8, 0, {0x00FF00, 0xFF0000}, {0, 1, 0, 0, 1, 0, 0, 0}),
         2,
         2,
         {{{0, 0}, red}, {{1, 0}, green}, {{0, 1}, green}, {{1, 1}, red}}},
        {"run-length, 8 bits",
         bmp(4, 2, 8, 1, {0x00FF00, 0x0000FF}, {4, 1, 0, 0, 2, 0, 2, 1, 0, 0, 0, 1}),
         4,
         2,
         {{{0, 0}, green}, {{3, 0}, blue}, {{0, 1}, blue}, {{3, 1}, blue}},
         true},
    };
    for (const Variant& variant : variants) {
        SCOPED_TRACE(variant.name);
        if (variant.sdl12CompatOnly && ClassicSdl()) {
            GTEST_SKIP() << variant.name << ": only sdl12-compat reads it, the classic SDL library does not";
        }
        const std::string path = dir + "/variant.bmp";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(variant.bytes.data()),
                   static_cast<std::streamsize>(variant.bytes.size()));
        SDL_Surface* loaded = CImage::Load(path.c_str());
        ASSERT_NE(loaded, nullptr);
        Own(loaded);
        EXPECT_EQ(loaded->w, variant.width);
        EXPECT_EQ(loaded->h, variant.height);
        for (const auto& [at, colour] : variant.pixels) {
            EXPECT_EQ(PixelAt(loaded, at.first, at.second), colour)
                << "pixel " << at.first << ", " << at.second;
        }
    }
}

class KeyedArtworkTest : public GameTest {
protected:
    void SetUp() override
    {
        keyedSurfaces = &keyed;
        GameTest::SetUp();
    }
    void TearDown() override
    {
        GameTest::TearDown();
        keyedSurfaces = nullptr;
    }

    std::vector<KeyedSurface> keyed;
};

TEST_F(KeyedArtworkTest, EveryPictureTheGameKeysAsksForRunLengthBlitsOnMagenta)
{
    // Start-up keys the field's, the interface's and the shots' pictures; a shot keys nothing.
    StartGame();
    const size_t atStart = keyed.size();
    EXPECT_GE(atStart, 9u) << "the tile sheet, cannon, both markers, the ball and four shots at least";
    PushShot(500, 300, -30, 10);
    RunFrames(1);
    EXPECT_EQ(keyed.size(), atStart) << "a shot loads and keys no picture of its own";
    for (size_t i = 0; i < keyed.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "colour key " << i);
        EXPECT_NE(keyed[i].flags & SDL_SRCCOLORKEY, 0u);
        EXPECT_NE(keyed[i].flags & SDL_RLEACCEL, 0u) << "keyed pictures are blitted run-length encoded";
        EXPECT_EQ(keyed[i].key, keyed[i].magenta) << "the key is magenta in the picture's own format";
    }
}
