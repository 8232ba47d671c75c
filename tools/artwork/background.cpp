// The background: sky, sun, clouds, far hills with a barn and trees, the near hill with flowers and a fence.
#include "tools/artwork/drawings.h"
#include "tools/artwork/noise.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

double FarHillY(double x) { return 455 + 32 * std::sin(x * 0.0062 + 0.8) + 14 * std::sin(x * 0.017 + 2.0); }
double NearHillY(double x) { return 540 + 26 * std::sin(x * 0.0085 + 2.4) + 9 * std::sin(x * 0.021 + 0.3); }

struct Cloud {
    double x, y, size;
};
constexpr std::array kClouds{Cloud{150, 150, 1.0}, Cloud{430, 95, 0.75}, Cloud{640, 200, 0.9}, Cloud{900, 250, 0.6},
                             Cloud{320, 300, 0.55}};

// How much of a cloud covers (x, y), 0..1, softly edged (the background is never colour keyed).
double CloudCover(const Cloud& c, double x, double y, double& underside) {
    static constexpr std::array<std::array<double, 3>, 6> puffs{{{-60, 10, 32}, {-25, -12, 40}, {18, -22, 46},
                                                                 {58, -2, 36}, {85, 14, 26}, {10, 14, 38}}};
    double cover = 0;
    for (const auto& p : puffs) {
        const double dx = x - (c.x + p[0] * c.size), dy = y - (c.y + p[1] * c.size);
        const double d = std::sqrt(dx * dx + dy * dy) - p[2] * c.size;
        cover = std::max(cover, Clamp01(0.5 - d / 1.5));
    }
    // a long rounded base under the puffs, so the bottom edge has no notches
    {
        const double bx = std::clamp(x, c.x - 60 * c.size, c.x + 85 * c.size), by = c.y + 12 * c.size;
        const double d = std::hypot(x - bx, y - by) - 20 * c.size;
        cover = std::max(cover, Clamp01(0.5 - d / 1.5));
    }
    // flat bottom
    const double bottom = c.y + 30 * c.size;
    cover *= Clamp01((bottom - y) / 1.5 + 0.5);
    underside = Clamp01((y - (c.y - 5 * c.size)) / (35 * c.size));
    return cover;
}

Rgb BackgroundPixel(double x, double y) {
    // sky
    Rgb c = Mix(Rgb{92, 168, 236}, Rgb{196, 230, 250}, y / 470.0);
    // sun with a soft glow
    {
        const double d = std::hypot(x - 860, y - 105);
        c = Mix(c, Rgb{255, 250, 205}, 0.35 * Clamp01(1 - (d - 40) / 110));
        c = Mix(c, Rgb{255, 236, 120}, Clamp01(46 - d));
        if (d < 44) c = Mix(c, Rgb{255, 248, 180}, Clamp01((30 - std::hypot(x - 848, y - 93)) / 30));
    }
    for (const Cloud& cl : kClouds) {
        double under = 0;
        const double cover = CloudCover(cl, x, y, under);
        if (cover > 0) c = Mix(c, Mix(Rgb{255, 255, 255}, Rgb{205, 220, 238}, under), cover);
    }
    // far hills, with a little red barn and some round trees
    const double fy = FarHillY(x);
    if (y > fy - 1) {
        const double t = Clamp01(y - fy + 0.5);
        Rgb hill = Mix(Rgb{158, 212, 118}, Rgb{118, 186, 92}, (y - fy) / 120);
        hill = Shade(hill, (Fbm(x * 0.03, y * 0.05, 7) - 0.5) * 0.12);
        c = Mix(c, hill, t);
    }
    {
        // barn on the far hill
        const double bx = 740, by = FarHillY(740) + 6;
        const bool wall = x >= bx - 28 && x < bx + 28 && y >= by - 34 && y < by;
        const double roofT = (y - (by - 58)) / 24.0;  // 0 at the ridge
        const bool roof = roofT >= 0 && roofT <= 1 && std::abs(x - bx) <= 6 + roofT * 28;
        if (roof) c = (std::abs(x - bx) > 4 + roofT * 28 || roofT > 0.9) ? Rgb{240, 240, 235} : Rgb{120, 70, 60};
        if (wall) {
            c = Rgb{200, 50, 45};
            if (static_cast<int>(x) % 7 == 0) c = Rgb{175, 40, 38};
            const bool door = x >= bx - 11 && x < bx + 11 && y >= by - 22;
            if (door) {
                c = Rgb{240, 240, 235};
                const double u = (x - (bx - 11)) / 22, v = (y - (by - 22)) / 22;
                if (std::abs(u - v) > 0.12 && std::abs(u + v - 1) > 0.12 && u > 0.08 && u < 0.92 && v > 0.08 && v < 0.92)
                    c = Rgb{170, 38, 36};
            }
        }
    }
    for (double tx : {120.0, 170.0, 540.0, 975.0}) {
        const double ty = FarHillY(tx) + 4;
        if (std::abs(x - tx) < 3 && y > ty - 22 && y < ty + 4) c = Rgb{110, 78, 50};
        const double d = std::hypot(x - tx, (y - (ty - 30)) * 1.1) - 20;
        if (d < 1) {
            Rgb leaf = Mix(Rgb{88, 160, 70}, Rgb{50, 115, 48}, Clamp01((x - tx + y - (ty - 30) + 20) / 40));
            leaf = Shade(leaf, (ValueNoise(x * 0.35, y * 0.35, 11) - 0.5) * 0.25);
            c = Mix(c, leaf, Clamp01(0.5 - d));
        }
    }
    // near hill
    const double ny = NearHillY(x);
    if (y > ny - 1) {
        const double t = Clamp01(y - ny + 0.5);
        Rgb hill = Mix(Rgb{112, 190, 78}, Rgb{64, 140, 52}, (y - ny) / 110);
        hill = Shade(hill, (Fbm(x * 0.05, y * 0.08, 3) - 0.5) * 0.16);
        // flowers
        const int cx = static_cast<int>(std::floor(x / 23)), cy = static_cast<int>(std::floor(y / 17));
        const double fx = cx * 23 + 4 + Hash01(cx, cy, 5) * 15, fyy = cy * 17 + 3 + Hash01(cx, cy, 6) * 11;
        if (fyy > ny + 8 && Hash01(cx, cy, 8) < 0.35) {
            const double d = std::hypot(x - fx, y - fyy);
            const Rgb petal = Hash01(cx, cy, 9) < 0.5 ? Rgb{255, 255, 250} : Rgb{255, 220, 70};
            if (d < 2.2) hill = d < 0.9 ? Rgb{250, 170, 40} : petal;
        }
        c = Mix(c, hill, t);
    }
    // a wooden fence along the near hill
    {
        const double railTop = ny - 24, railMid = ny - 12;
        const bool post = std::fmod(x + 1000, 60) < 5 && y > ny - 30 && y < ny + 4;
        const bool rail = (std::abs(y - railTop) < 2 || std::abs(y - railMid) < 2) && y < ny + 2;
        if (post || rail) c = post ? Rgb{150, 105, 65} : Rgb{175, 128, 82};
        if (post && std::fmod(x + 1000, 60) < 1.5) c = Rgb{185, 140, 95};
    }
    return c;
}

}  // namespace

Image DrawBackground() {
    Image image(Asset::kBackground.width, Asset::kBackground.height);
    constexpr int kSamples = 3;  // supersampling keeps hill and cloud edges smooth
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            double r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Rgb c = BackgroundPixel(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                    r += c.r, g += c.g, b += c.b;
                }
            constexpr double n = kSamples * kSamples;
            Rgb c{ToByte(r / n), ToByte(g / n), ToByte(b / n)};
            if (c == kKey) c.g = 1;  // never see-through
            image.Set(x, y, c);
        }
    return image;
}
