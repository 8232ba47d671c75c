// The background: sky, sun, clouds, far hills with a barn and trees, the near hill with flowers and a fence.
// Everything placed by hand is in the tables at the top; the functions below only render them.
#include "tools/artwork/drawings.h"
#include "tools/artwork/noise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace {

// ---- The scenery, in background pixels (y grows downwards) ----

// The sky fades from top to bottom colour over the first gradientHeight pixels.
struct Sky {
    Rgb top;
    Rgb bottom;
    double gradientHeight;
};
constexpr Sky kSky{{92, 168, 236}, {196, 230, 250}, 470.0};

// A sun disc with a soft glow around it and a lighter spot toward its top left.
struct Sun {
    double x;
    double y;
    double discRadius;  // fully lit inside discRadius - 1, fading over the last pixel
    Rgb disc;
    double glowStart;     // the glow is strongest at this distance and gone glowWidth further out
    double glowWidth;
    double glowStrength;  // share of the glow colour at its strongest
    Rgb glow;
    double spotX;
    double spotY;
    double spotRadius;
    double spotLimit;  // no spot beyond this distance from the sun's centre
    Rgb spot;
};
constexpr Sun kSun{860, 105, 46, {255, 236, 120}, 40, 110, 0.35, {255, 250, 205}, 848, 93, 30, 44, {255, 248, 180}};

// A cloud is a row of round puffs on a long rounded base, cut flat at the bottom; its size scales
// every offset and radius of kCloudShape.
struct Cloud {
    double x;
    double y;
    double size;
};
constexpr std::array kClouds{Cloud{150, 150, 1.0}, Cloud{430, 95, 0.75}, Cloud{640, 200, 0.9},
                             Cloud{900, 250, 0.6}, Cloud{320, 300, 0.55}};

struct Puff {
    double dx;
    double dy;
    double radius;
};
struct CloudShape {
    std::array<Puff, 6> puffs;
    double baseLeft;  // the base runs from x - baseLeft to x + baseRight at y + baseY
    double baseRight;
    double baseY;
    double baseRadius;
    double bottom;      // flat underside, below y
    double shadeStart;  // the underside tint starts above y and is full shadeDepth further down
    double shadeDepth;
    double edge;  // pixels over which a cloud's edge fades into the sky
    Rgb top;
    Rgb underside;
};
constexpr CloudShape kCloudShape{
    {{{-60, 10, 32}, {-25, -12, 40}, {18, -22, 46}, {58, -2, 36}, {85, 14, 26}, {10, 14, 38}}},
    60,
    85,
    12,
    20,
    30,
    5,
    35,
    1.5,
    {255, 255, 255},
    {205, 220, 238}};

// A hill's skyline: y = base + two sine waves of x (amplitude in pixels, frequency in radians per pixel).
struct Wave {
    double amplitude;
    double frequency;
    double phase;
};
struct Hill {
    double base;
    Wave first;
    Wave second;
    Rgb top;  // grass colour at the skyline, fading to bottom over gradientDepth pixels
    Rgb bottom;
    double gradientDepth;
    double noiseScaleX;  // mottling of the grass
    double noiseScaleY;
    std::uint32_t noiseSeed;
    double noiseStrength;
};
constexpr Hill kFarHill{455, {32, 0.0062, 0.8}, {14, 0.017, 2.0}, {158, 212, 118}, {118, 186, 92}, 120, 0.03,
                        0.05, 7, 0.12};
constexpr Hill kNearHill{540, {26, 0.0085, 2.4}, {9, 0.021, 0.3}, {112, 190, 78}, {64, 140, 52}, 110, 0.05,
                         0.08, 3, 0.16};

// The red barn on the far hill, standing on the skyline at x, sunk a little into the grass.
struct Barn {
    double x;
    double sink;
    double halfWidth;
    double wallHeight;
    int boardSpacing;  // a darker board every this many pixels
    double ridgeHeight;  // above the foot of the wall
    double roofDepth;
    double ridgeHalfWidth;
    double roofSpread;  // extra half width per roof depth
    double trimWidth;   // the white rim along the roof's slopes
    double trimFrom;    // share of the roof's depth where the white eaves start
    double doorHalfWidth;
    double doorHeight;
    double doorFrame;  // share of the door left white around its panels and along its cross
    double doorFrameEnd;
    double crossWidth;
    Rgb wall;
    Rgb board;
    Rgb roof;
    Rgb trim;
    Rgb panel;
};
constexpr Barn kBarn{740, 6, 28, 34, 7, 58, 24, 6, 28, 2, 0.9, 11, 22, 0.08, 0.92, 0.12,
                     {200, 50, 45},    {175, 40, 38}, {120, 70, 60}, {240, 240, 235}, {170, 38, 36}};

// Round trees on the far hill, each standing on the skyline at its x.
constexpr std::array kTreeXs{120.0, 170.0, 540.0, 975.0};
struct TreeShape {
    double sink;
    double trunkHalfWidth;
    double trunkHeight;  // above the foot
    double trunkFoot;    // below the foot
    double crownHeight;  // crown centre above the foot
    double crownRadius;
    double crownSquash;  // the crown is this much flatter than round
    Rgb trunk;
    Rgb leafLit;
    Rgb leafShaded;
    double leafNoiseScale;
    std::uint32_t leafNoiseSeed;
    double leafNoiseStrength;
};
constexpr TreeShape kTree{4, 3, 22, 4, 30, 20, 1.1, {110, 78, 50}, {88, 160, 70}, {50, 115, 48}, 0.35, 11, 0.25};

// Flowers on the near hill: at most one per cell, placed and coloured by hash.
struct Flowers {
    double cellWidth;
    double cellHeight;
    double marginX;  // a flower's centre lies marginX + up to spreadX into its cell
    double spreadX;
    double marginY;
    double spreadY;
    double minDepth;  // pixels below the skyline
    double share;     // of cells with a flower
    double radius;
    double heartRadius;
    Rgb white;
    Rgb yellow;
    Rgb heart;
};
constexpr Flowers kFlowers{23, 17, 4, 15, 3, 11, 8, 0.35, 2.2, 0.9, {255, 255, 250}, {255, 220, 70}, {250, 170, 40}};

// The wooden fence that follows the near hill's skyline.
struct Fence {
    double postSpacing;
    double phase;  // shifts the posts along x
    double postWidth;
    double lightWidth;  // lit left edge of each post
    double postTop;     // above the skyline
    double postFoot;    // below it
    double topRail;     // above the skyline
    double middleRail;
    double railHalfThickness;
    double railFoot;  // rails stop this far below the skyline
    Rgb post;
    Rgb rail;
    Rgb light;
};
constexpr Fence kFence{60, 1000, 5, 1.5, 30, 4, 24, 12, 2, 2, {150, 105, 65}, {175, 128, 82}, {185, 140, 95}};

constexpr int kSamples = 3;  // per pixel and axis: supersampling keeps hill and cloud edges smooth

// ---- Rendering the scenery ----

double SkylineY(const Hill& hill, double x)
{
    return hill.base + hill.first.amplitude * std::sin(x * hill.first.frequency + hill.first.phase) +
           hill.second.amplitude * std::sin(x * hill.second.frequency + hill.second.phase);
}

Rgb Grass(const Hill& hill, double x, double y, double skyline)
{
    const Rgb grass = Mix(hill.top, hill.bottom, (y - skyline) / hill.gradientDepth);
    return Shade(grass, (Fbm(x * hill.noiseScaleX, y * hill.noiseScaleY, hill.noiseSeed) - 0.5) * hill.noiseStrength);
}

// How much of a cloud covers (x, y), 0..1, softly edged (the background is never colour keyed),
// and how far into its tinted underside the point lies.
double CloudCover(const Cloud& cloud, double x, double y, double& underside)
{
    const CloudShape& shape = kCloudShape;
    double cover = 0;
    for (const Puff& puff : shape.puffs) {
        const double dx = x - (cloud.x + puff.dx * cloud.size);
        const double dy = y - (cloud.y + puff.dy * cloud.size);
        const double d = std::sqrt(dx * dx + dy * dy) - puff.radius * cloud.size;
        cover = std::max(cover, Clamp01(0.5 - d / shape.edge));
    }
    // the long rounded base under the puffs, so the bottom edge has no notches
    const double bx = std::clamp(x, cloud.x - shape.baseLeft * cloud.size, cloud.x + shape.baseRight * cloud.size);
    const double by = cloud.y + shape.baseY * cloud.size;
    const double d = std::hypot(x - bx, y - by) - shape.baseRadius * cloud.size;
    cover = std::max(cover, Clamp01(0.5 - d / shape.edge));
    const double bottom = cloud.y + shape.bottom * cloud.size;
    cover *= Clamp01((bottom - y) / shape.edge + 0.5);
    underside = Clamp01((y - (cloud.y - shape.shadeStart * cloud.size)) / (shape.shadeDepth * cloud.size));
    return cover;
}

Rgb Sunlit(Rgb c, double x, double y)
{
    const Sun& sun = kSun;
    const double d = std::hypot(x - sun.x, y - sun.y);
    c = Mix(c, sun.glow, sun.glowStrength * Clamp01(1 - (d - sun.glowStart) / sun.glowWidth));
    c = Mix(c, sun.disc, Clamp01(sun.discRadius - d));
    if (d < sun.spotLimit) {
        c = Mix(c, sun.spot, Clamp01((sun.spotRadius - std::hypot(x - sun.spotX, y - sun.spotY)) / sun.spotRadius));
    }
    return c;
}

Rgb WithBarn(Rgb c, double x, double y)
{
    const Barn& barn = kBarn;
    const double bx = barn.x;
    const double by = SkylineY(kFarHill, barn.x) + barn.sink;  // foot of the wall
    const double roofT = (y - (by - barn.ridgeHeight)) / barn.roofDepth;  // 0 at the ridge
    const double fromMiddle = std::abs(x - bx);
    if (roofT >= 0 && roofT <= 1 && fromMiddle <= barn.ridgeHalfWidth + roofT * barn.roofSpread) {
        const bool trim = fromMiddle > barn.ridgeHalfWidth - barn.trimWidth + roofT * barn.roofSpread ||
                          roofT > barn.trimFrom;
        c = trim ? barn.trim : barn.roof;
    }
    const bool wall = x >= bx - barn.halfWidth && x < bx + barn.halfWidth && y >= by - barn.wallHeight && y < by;
    if (!wall) {
        return c;
    }
    c = static_cast<int>(x) % barn.boardSpacing == 0 ? barn.board : barn.wall;
    if (x >= bx - barn.doorHalfWidth && x < bx + barn.doorHalfWidth && y >= by - barn.doorHeight) {
        // a white door with a cross: u and v run 0..1 across it
        const double u = (x - (bx - barn.doorHalfWidth)) / (2 * barn.doorHalfWidth);
        const double v = (y - (by - barn.doorHeight)) / barn.doorHeight;
        const bool panel = std::abs(u - v) > barn.crossWidth && std::abs(u + v - 1) > barn.crossWidth &&
                           u > barn.doorFrame && u < barn.doorFrameEnd && v > barn.doorFrame &&
                           v < barn.doorFrameEnd;
        c = panel ? barn.panel : barn.trim;
    }
    return c;
}

Rgb WithTree(Rgb c, double treeX, double x, double y)
{
    const TreeShape& tree = kTree;
    const double foot = SkylineY(kFarHill, treeX) + tree.sink;
    if (std::abs(x - treeX) < tree.trunkHalfWidth && y > foot - tree.trunkHeight && y < foot + tree.trunkFoot) {
        c = tree.trunk;
    }
    const double crownY = foot - tree.crownHeight;
    const double d = std::hypot(x - treeX, (y - crownY) * tree.crownSquash) - tree.crownRadius;
    if (d < 1) {
        Rgb leaf = Mix(tree.leafLit, tree.leafShaded,
                       Clamp01((x - treeX + y - crownY + tree.crownRadius) / (2 * tree.crownRadius)));
        leaf = Shade(leaf, (ValueNoise(x * tree.leafNoiseScale, y * tree.leafNoiseScale, tree.leafNoiseSeed) - 0.5) *
                               tree.leafNoiseStrength);
        c = Mix(c, leaf, Clamp01(0.5 - d));
    }
    return c;
}

// The grass colour with the flower of this cell drawn over it, if it has one.
Rgb WithFlower(Rgb grass, double x, double y, double skyline)
{
    const Flowers& flowers = kFlowers;
    const int cx = static_cast<int>(std::floor(x / flowers.cellWidth));
    const int cy = static_cast<int>(std::floor(y / flowers.cellHeight));
    const double fx = cx * flowers.cellWidth + flowers.marginX + Hash01(cx, cy, 5) * flowers.spreadX;
    const double fy = cy * flowers.cellHeight + flowers.marginY + Hash01(cx, cy, 6) * flowers.spreadY;
    if (fy <= skyline + flowers.minDepth || Hash01(cx, cy, 8) >= flowers.share) {
        return grass;
    }
    const double d = std::hypot(x - fx, y - fy);
    const Rgb petal = Hash01(cx, cy, 9) < 0.5 ? flowers.white : flowers.yellow;
    if (d < flowers.radius) {
        return d < flowers.heartRadius ? flowers.heart : petal;
    }
    return grass;
}

Rgb WithFence(Rgb c, double x, double y, double skyline)
{
    const Fence& fence = kFence;
    const double alongPosts = std::fmod(x + fence.phase, fence.postSpacing);
    const bool post = alongPosts < fence.postWidth && y > skyline - fence.postTop && y < skyline + fence.postFoot;
    const bool rail = (std::abs(y - (skyline - fence.topRail)) < fence.railHalfThickness ||
                       std::abs(y - (skyline - fence.middleRail)) < fence.railHalfThickness) &&
                      y < skyline + fence.railFoot;
    if (post) {
        return alongPosts < fence.lightWidth ? fence.light : fence.post;
    }
    return rail ? fence.rail : c;
}

Rgb BackgroundPixel(double x, double y)
{
    Rgb c = Mix(kSky.top, kSky.bottom, y / kSky.gradientHeight);
    c = Sunlit(c, x, y);
    for (const Cloud& cloud : kClouds) {
        double underside = 0;
        const double cover = CloudCover(cloud, x, y, underside);
        if (cover > 0) {
            c = Mix(c, Mix(kCloudShape.top, kCloudShape.underside, underside), cover);
        }
    }
    const double farSkyline = SkylineY(kFarHill, x);
    if (y > farSkyline - 1) {
        c = Mix(c, Grass(kFarHill, x, y, farSkyline), Clamp01(y - farSkyline + 0.5));
    }
    c = WithBarn(c, x, y);
    for (double treeX : kTreeXs) {
        c = WithTree(c, treeX, x, y);
    }
    const double nearSkyline = SkylineY(kNearHill, x);
    if (y > nearSkyline - 1) {
        const Rgb grass = WithFlower(Grass(kNearHill, x, y, nearSkyline), x, y, nearSkyline);
        c = Mix(c, grass, Clamp01(y - nearSkyline + 0.5));
    }
    return WithFence(c, x, y, nearSkyline);
}

}  // namespace

Image DrawBackground()
{
    Image image(Asset::kBackground.width, Asset::kBackground.height);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            double r = 0;
            double g = 0;
            double b = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Rgb c = BackgroundPixel(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                }
            }
            constexpr double kCount = kSamples * kSamples;
            Rgb c{ToByte(r / kCount), ToByte(g / kCount), ToByte(b / kCount)};
            if (c == kKey) {
                c.g = 1;  // the background is never see-through
            }
            image.Set(x, y, c);
        }
    }
    return image;
}
