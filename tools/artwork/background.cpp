// The background: sky, sun, clouds, far hills with a barn and trees, the near hill with flowers and a fence.
// What is placed where is in background_scenery.h; this file only renders it.
#include "artwork/background_scenery.h"
#include "artwork/drawings.h"
#include "artwork/noise.h"

#include <algorithm>
#include <cmath>

namespace {

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
    return Shade(grass, (Fbm(x * hill.noiseScaleX, y * hill.noiseScaleY, hill.noiseSeed) - 0.5) *
                            hill.noiseStrength);
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
    const double bx =
        std::clamp(x, cloud.x - shape.baseLeft * cloud.size, cloud.x + shape.baseRight * cloud.size);
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
        c = Mix(c, sun.spot,
                Clamp01((sun.spotRadius - std::hypot(x - sun.spotX, y - sun.spotY)) / sun.spotRadius));
    }
    return c;
}

Rgb WithBarn(Rgb c, double x, double y)
{
    const Barn& barn = kBarn;
    const double bx = barn.x;
    const double by = SkylineY(kFarHill, barn.x) + barn.sink;             // foot of the wall
    const double roofT = (y - (by - barn.ridgeHeight)) / barn.roofDepth;  // 0 at the ridge
    const double fromMiddle = std::abs(x - bx);
    if (roofT >= 0 && roofT <= 1 && fromMiddle <= barn.ridgeHalfWidth + roofT * barn.roofSpread) {
        const bool trim = fromMiddle > barn.ridgeHalfWidth - barn.trimWidth + roofT * barn.roofSpread ||
                          roofT > barn.trimFrom;
        c = trim ? barn.trim : barn.roof;
    }
    const bool wall =
        x >= bx - barn.halfWidth && x < bx + barn.halfWidth && y >= by - barn.wallHeight && y < by;
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
    if (std::abs(x - treeX) < tree.trunkHalfWidth && y > foot - tree.trunkHeight &&
        y < foot + tree.trunkFoot) {
        c = tree.trunk;
    }
    const double crownY = foot - tree.crownHeight;
    const double d = std::hypot(x - treeX, (y - crownY) * tree.crownSquash) - tree.crownRadius;
    if (d < 1) {
        Rgb leaf = Mix(tree.leafLit, tree.leafShaded,
                       Clamp01((x - treeX + y - crownY + tree.crownRadius) / (2 * tree.crownRadius)));
        leaf = Shade(
            leaf, (ValueNoise(x * tree.leafNoiseScale, y * tree.leafNoiseScale, tree.leafNoiseSeed) - 0.5) *
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
    const bool post =
        alongPosts < fence.postWidth && y > skyline - fence.postTop && y < skyline + fence.postFoot;
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
