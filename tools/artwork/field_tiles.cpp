// The block tiles, each drawn on its own and placed on the sheet where the game's blocks read it.
#include "artwork/drawings.h"
#include "artwork/lettering.h"
#include "artwork/noise.h"
#include "artwork/raster.h"

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int kTileSize = Asset::kTileSize;

// A rivet near each corner of a tile, inset pixels from both edges.
void RivetCorners(Image& tile, double inset, double radius, Rgb colour)
{
    for (double x : {inset, kTileSize - inset}) {
        for (double y : {inset, kTileSize - inset}) {
            Rivet(tile, x, y, radius, colour);
        }
    }
}

Image DrawLedgeTile()
{
    Image tile(kTileSize, kTileSize);
    const std::array<int, 4> seams{0, 17, 34, 50};
    for (int p = 0; p < 3; ++p) {
        const int y0 = seams[p];
        const int h = seams[p + 1] - y0;
        const Rgb base = p == 1 ? Rgb{196, 140, 82} : Rgb{206, 150, 90};
        FillRect(tile, 0, y0, kTileSize, h, Wood(base, 20U + static_cast<std::uint32_t>(p)));
        Bevel(tile, 0, y0, kTileSize, h, 3, 0.25, 0.35);
        // plank joint in the middle plank, staggered
        if (p == 1) {
            for (int y = y0; y < y0 + h; ++y) {
                tile.Set(31, y, Rgb{92, 58, 30});
            }
            Bevel(tile, 0, y0, 31, h, 2, 0.15, 0.25);
        }
        for (double nx : {5.5, 44.5}) {
            Rivet(tile, nx, y0 + h / 2.0, 1.8, Rgb{150, 150, 155});
        }
    }
    for (int y : {16, 33}) {
        for (int x = 0; x < kTileSize; ++x) {
            tile.Set(x, y, Rgb{80, 48, 24});
        }
    }
    return tile;
}

Image DrawEarthTile()
{
    Image tile(kTileSize, kTileSize);
    FillRect(tile, 0, 0, kTileSize, kTileSize, [](double x, double y) {
        const double n = Fbm(x * 0.09, y * 0.09, 31);
        return Shade(Rgb{128, 84, 48}, (n - 0.5) * 0.35);
    });
    Rng rng(41);
    for (int i = 0; i < 70; ++i) {
        const int x = rng.Below(kTileSize);
        const int y = rng.Below(kTileSize);
        tile.Set(x, y, Shade(tile.Get(x, y), i % 2 ? 0.22 : -0.3));
    }
    const std::array<std::array<double, 3>, 6> pebbles{
        {{11, 12, 3.2}, {36, 9, 2.4}, {27, 28, 3.6}, {9, 38, 2.6}, {41, 37, 3.0}, {21, 44, 1.8}}};
    for (const auto& p : pebbles) {
        FillEllipse(tile, p[0] + 0.7, p[1] + 0.8, p[2] * 1.3, p[2], Rgb{78, 50, 28});
        FillEllipse(tile, p[0], p[1], p[2] * 1.3, p[2],
                    Sphere(Rgb{178, 160, 132}, p[0], p[1], p[2] * 1.3, 0.3));
    }
    // a little root
    const std::vector<Pt> root{{34, 18}, {30, 20}, {27, 19}, {23, 22}};
    for (std::size_t i = 1; i < root.size(); ++i) {
        ThickLine(tile, root[i - 1], root[i], 1.2, Rgb{170, 120, 70});
    }
    Bevel(tile, 0, 0, kTileSize, kTileSize, 3, 0.18, 0.35);
    return tile;
}

Image DrawBedrockTile()
{
    Image tile(kTileSize, kTileSize);
    Rng rng(53);
    std::vector<Pt> seeds;
    std::vector<double> tone;
    for (int gy = -1; gy <= 3; ++gy) {
        for (int gx = -1; gx <= 3; ++gx) {
            seeds.push_back({gx * 17 + 8 + rng.Uniform(-5, 5), gy * 17 + 8 + rng.Uniform(-5, 5)});
            tone.push_back(rng.Uniform(-0.12, 0.12));
        }
    }
    FillRect(tile, 0, 0, kTileSize, kTileSize, [&](double x, double y) {
        double d1 = 1e9;
        double d2 = 1e9;
        std::size_t best = 0;
        for (std::size_t i = 0; i < seeds.size(); ++i) {
            const double d = std::hypot(x - seeds[i].x, y - seeds[i].y);
            if (d < d1) {
                d2 = d1;
                d1 = d;
                best = i;
            } else if (d < d2) {
                d2 = d;
            }
        }
        const double gap = d2 - d1;
        if (gap < 1.4) {
            return Rgb{30, 30, 36};
        }
        const Rgb stone = Shade(Rgb{84, 86, 96}, tone[best] + (Fbm(x * 0.2, y * 0.2, 61) - 0.5) * 0.25);
        // lit on the upper-left side of each stone
        const double lit = ((seeds[best].x - x) + (seeds[best].y - y)) / 14.0;
        return Shade(stone, std::clamp(lit * 0.12, -0.15, 0.15) + (gap < 3 ? -0.12 : 0.0));
    });
    Bevel(tile, 0, 0, kTileSize, kTileSize, 2, 0.15, 0.45);
    return tile;
}

Image DrawSpringTile()
{
    Image tile(kTileSize, kTileSize);
    FillRect(tile, 0, 0, kTileSize, kTileSize,
             VerticalGradient(Rgb{58, 64, 78}, Rgb{38, 42, 52}, 0, kTileSize));
    Bevel(tile, 0, 0, kTileSize, kTileSize, 3, 0.3, 0.4);
    // coil: back halves darker, front halves bright, zig-zagging between the plates
    const Rgb steel{200, 205, 215};
    std::vector<Pt> pts;
    for (int i = 0; i <= 6; ++i) {
        pts.push_back({i % 2 ? 38.0 : 12.0, 38.0 - i * 4.3});
    }
    for (std::size_t i = 1; i < pts.size(); i += 2) {
        Rod(tile, pts[i - 1], pts[i], 3.2, Shade(steel, -0.45), 0.2);
    }
    for (std::size_t i = 2; i < pts.size(); i += 2) {
        Rod(tile, pts[i - 1], pts[i], 3.6, steel, 0.5);
    }
    // plates
    for (double py : {5.0, 39.0}) {
        FillRoundRect(tile, 6, py, 38, 6, 2,
                      VerticalGradient(Rgb{235, 80, 60}, Rgb{160, 35, 30}, py, py + 6));
        for (int x = 7; x < 43; ++x) {
            tile.Set(x, static_cast<int>(py), Rgb{255, 150, 130});
        }
    }
    RivetCorners(tile, 4.0, 1.6, Rgb{150, 155, 165});
    return tile;
}

Image DrawPedestalTile()
{
    Image tile(kTileSize, kTileSize);
    const Rgb steel{150, 160, 175};
    FillRect(tile, 0, 0, kTileSize, kTileSize, [&](double x, double y) {
        const double brushed = (ValueNoise(x * 0.05, y * 1.3, 71) - 0.5) * 0.08;
        // vertical fluting of the column
        const double flute = std::cos((x - 5) / 10.0 * 2 * std::numbers::pi) * 0.12;
        return Shade(steel, brushed + flute - (y - 25) / 200.0);
    });
    // cap and foot bands
    FillRect(tile, 0, 0, kTileSize, 11, VerticalGradient(Rgb{200, 208, 220}, Rgb{130, 138, 152}, 0, 11));
    FillRect(tile, 0, 39, kTileSize, 11, VerticalGradient(Rgb{185, 193, 205}, Rgb{112, 120, 134}, 39, 50));
    Bevel(tile, 0, 0, kTileSize, 11, 2, 0.3, 0.35);
    Bevel(tile, 0, 39, kTileSize, 11, 2, 0.3, 0.35);
    Bevel(tile, 0, 0, kTileSize, kTileSize, 2, 0.2, 0.5);
    for (double x : {6.0, 19.0, 31.0, 44.0}) {
        Rivet(tile, x, 5.5, 2.0, Rgb{175, 182, 195});
        Rivet(tile, x, 44.5, 2.0, Rgb{175, 182, 195});
    }
    return tile;
}

Image DrawAnchorTile()
{
    Image tile(kTileSize, kTileSize);
    const Rgb plate{120, 127, 138};
    FillRect(tile, 0, 0, kTileSize, kTileSize, plate);
    // diamond tread pattern
    for (int cy = 0; cy < 5; ++cy) {
        for (int cx = 0; cx < 5; ++cx) {
            const double ox = cx * 10 + 2;
            const double oy = cy * 10 + 2;
            const bool up = (cx + cy) % 2 == 0;
            const Pt a{ox + 1, up ? oy + 5 : oy + 1};
            const Pt b{ox + 5, up ? oy + 1 : oy + 5};
            ThickLine(tile, {a.x + 0.7, a.y + 0.7}, {b.x + 0.7, b.y + 0.7}, 1.6, Shade(plate, -0.3));
            ThickLine(tile, a, b, 1.6, Shade(plate, 0.3));
        }
    }
    Bevel(tile, 0, 0, kTileSize, kTileSize, 3, 0.3, 0.45);
    // washer and hex bolt
    FillCircle(tile, 26, 26.5, 14, Shade(plate, -0.5));
    FillCircle(tile, 25, 25, 14, [&](double x, double y) {
        const double d = std::hypot(x - 25, y - 25) / 14;
        return Shade(Rgb{180, 186, 196}, 0.25 * (1 - d) - 0.2 * ((x - 25) + (y - 25)) / 14);
    });
    std::vector<Pt> hex;
    for (int i = 0; i < 6; ++i) {
        const double a = i * std::numbers::pi / 3 + 0.2;
        hex.push_back({25 + 9 * std::cos(a), 25 + 9 * std::sin(a)});
    }
    FillPolygon(tile, hex, [&](double x, double y) {
        const double lit = -((x - 25) + (y - 25)) / 12.0;
        return Shade(Rgb{140, 145, 155}, std::clamp(lit * 0.35, -0.35, 0.35));
    });
    FillCircle(tile, 25, 25, 4.5, Sphere(Rgb{165, 170, 180}, 25, 25, 4.5, 0.7));
    RivetCorners(tile, 6.0, 2.2, Rgb{170, 175, 185});
    return tile;
}

Image DrawUnknownTile()
{
    Image tile(kTileSize, kTileSize);
    const Rgb board{150, 150, 146};
    FillRect(tile, 0, 0, kTileSize, kTileSize, Wood(board, 83));
    // frame: top, left, bottom and right boards
    const std::array<std::array<int, 4>, 4> frame{
        {{0, 0, kTileSize, 7}, {0, 0, 7, kTileSize}, {0, 43, kTileSize, 7}, {43, 0, 7, kTileSize}}};
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const auto [x, y, w, h] = frame[i];
        FillRect(tile, x, y, w, h, Wood(Shade(board, -0.22), 84U + static_cast<std::uint32_t>(i)));
        Bevel(tile, x, y, w, h, 2, 0.2, 0.3);
    }
    // brace
    ThickLine(tile, {8, 42}, {42, 8}, 7, Wood(Shade(board, -0.12), 90));
    // question plaque
    FillCircle(tile, 25.5, 26.5, 13, Rgb{70, 70, 72});
    FillCircle(tile, 25, 25, 13, [](double x, double y) {
        return Shade(Rgb{225, 222, 205}, -std::hypot(x - 21, y - 21) / 60);
    });
    const Mask q = TextMask(kTileSize, kTileSize, "?", 18, 15, 3);
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            if (q.At(x, y)) {
                tile.Set(x, y, y < 25 ? Rgb{70, 72, 80} : Rgb{50, 52, 60});
            }
        }
    }
    RivetCorners(tile, 3.5, 1.5, Rgb{160, 160, 165});
    return tile;
}

void PasteTile(Image& sheet, const Image& tile, Asset::TilePosition position)
{
    sheet.Paste(tile, position.x, position.y);
}

}  // namespace

Image DrawBlockTileset()
{
    Image sheet(Asset::kBlockTileset.width, Asset::kBlockTileset.height);
    PasteTile(sheet, DrawBedrockTile(), Asset::kBedrockTile);
    PasteTile(sheet, DrawEarthTile(), Asset::kEarthTile);
    PasteTile(sheet, DrawLedgeTile(), Asset::kLedgeTile);
    PasteTile(sheet, DrawPedestalTile(), Asset::kPedestalTile);
    PasteTile(sheet, DrawSpringTile(), Asset::kSpringTile);
    PasteTile(sheet, DrawUnknownTile(), Asset::kUnknownTile);
    PasteTile(sheet, DrawAnchorTile(), Asset::kAnchorTile);
    PasteTile(sheet, DrawCake(Asset::kTargetPictureSize), Asset::kTargetTile);
    PasteDamageOverlays(sheet);
    return sheet;
}
