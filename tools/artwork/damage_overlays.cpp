// The damage overlays: cracks that spread from an impact point, drawn on magenta over a block.
#include "artwork/drawings.h"
#include "artwork/noise.h"
#include "artwork/raster.h"

#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

struct Crack {
    std::vector<Pt> pts;
    int birth;           // first damage level showing this crack
    double first = 1e9;  // length shown at birth
    double grow = 0;     // extra length shown per level after birth
};

constexpr int kTileSize = Asset::kTileSize;
constexpr Pt kImpact{24.5, 23.5};

std::vector<Pt> JaggedPath(Rng& rng, Pt from, double heading, double maxLength)
{
    std::vector<Pt> pts{from};
    double angle = heading;
    Pt p = from;
    for (double done = 0; done < maxLength; done += 2.5) {
        angle = heading + std::clamp(angle + rng.Uniform(-0.45, 0.45) - heading, -0.6, 0.6);
        p = {p.x + 2.5 * std::cos(angle), p.y + 2.5 * std::sin(angle)};
        pts.push_back(p);
        if (p.x < 0 || p.y < 0 || p.x >= kTileSize || p.y >= kTileSize) {
            break;
        }
    }
    return pts;
}

// The part of a path within the first `length` units of it.
std::vector<Pt> PathPrefix(const std::vector<Pt>& pts, double length)
{
    std::vector<Pt> out{pts.front()};
    for (std::size_t i = 1; i < pts.size() && length > 0; ++i) {
        const Pt a = pts[i - 1];
        const Pt b = pts[i];
        const double seg = std::hypot(b.x - a.x, b.y - a.y);
        const double t = std::min(1.0, length / seg);
        out.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        length -= seg;
    }
    return out;
}

// Cracks radiate from the impact point, one more direction per level, and from the middle levels on
// they are joined by rings of cross cracks, so the block looks shattered at the last level.
std::vector<Crack> MakeCracks()
{
    Rng rng(0x5EED);
    constexpr int kDirections = 8;
    constexpr std::array<int, kDirections> order{1, 5, 3, 7, 0, 4, 2, 6};  // direction revealed at each level
    constexpr double kFirst = 12;
    constexpr double kGrow = 7;
    std::array<std::vector<Pt>, kDirections> radial;
    std::array<int, kDirections> birth{};
    std::vector<Crack> cracks;
    for (int level = 0; level < kDirections; ++level) {
        const int d = order[static_cast<std::size_t>(level)];
        const double heading = d * std::numbers::pi / 4 - 0.9 + rng.Uniform(-0.25, 0.25);
        radial[static_cast<std::size_t>(d)] = JaggedPath(rng, kImpact, heading, 70);
        birth[static_cast<std::size_t>(d)] = level;
        cracks.push_back({radial[static_cast<std::size_t>(d)], level, kFirst, kGrow});
    }
    // level at which radial d has grown to reach distance r from the impact
    const auto reach = [&](int d, double r) {
        return birth[static_cast<std::size_t>(d)] +
               std::max(0, static_cast<int>(std::ceil((r + 2 - kFirst) / kGrow)));
    };
    const auto pointAt = [&](int d, double r) {
        for (const Pt& p : radial[static_cast<std::size_t>(d)]) {
            if (std::hypot(p.x - kImpact.x, p.y - kImpact.y) >= r) {
                return p;
            }
        }
        return radial[static_cast<std::size_t>(d)].back();
    };
    const std::array<std::pair<double, int>, 3> rings{{{9, 3}, {18, 5}, {28, 7}}};
    for (const auto& [r, earliest] : rings) {
        for (int d = 0; d < kDirections; ++d) {
            const int e = (d + 1) % kDirections;
            const int level = std::max({earliest, reach(d, r), reach(e, r)});
            if (level >= Asset::kDamageOverlayCount) {  // would never show
                continue;
            }
            const Pt a = pointAt(d, r);
            const Pt b = pointAt(e, r + rng.Uniform(-3, 3));
            const Pt mid{(a.x + b.x) / 2 + rng.Uniform(-2, 2), (a.y + b.y) / 2 + rng.Uniform(-2, 2)};
            cracks.push_back({{a, mid, b}, level});
        }
    }
    return cracks;
}

Image DrawDamageOverlay(const std::vector<Crack>& cracks, int level)
{
    const Rgb crackDark{34, 26, 22};
    const Rgb crackLight{176, 170, 160};
    Image dark(kTileSize, kTileSize);
    for (const Crack& c : cracks) {
        if (c.birth > level) {
            continue;
        }
        const int age = level - c.birth;
        const std::vector<Pt> pts = PathPrefix(c.pts, c.first + c.grow * age);
        for (std::size_t i = 1; i < pts.size(); ++i) {
            const Pt a = pts[i - 1];
            const Pt b = pts[i];
            if (age < 2) {
                PixelLine(dark, static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x),
                          static_cast<int>(b.y), crackDark);
            } else {
                ThickLine(dark, a, b, age < 5 ? 1.8 : 2.5, crackDark);
            }
        }
    }
    // chunks knocked out of the corners once the block is nearly gone
    const std::array<std::vector<Pt>, 4> chips{{{{0, 0}, {13, 0}, {9, 5}, {3, 11}, {0, 14}},
                                                {{50, 50}, {50, 34}, {43, 40}, {40, 46}, {30, 50}},
                                                {{50, 0}, {50, 9}, {45, 8}, {40, 3}, {38, 0}},
                                                {{0, 50}, {0, 40}, {6, 43}, {10, 47}, {13, 50}}}};
    for (int i = 0; i < 4; ++i) {
        if (level >= 6 + i) {
            FillPolygon(dark, chips[static_cast<std::size_t>(i)], Rgb{44, 36, 32});
        }
    }
    // light edge below-right of each crack gives it depth
    Image out(kTileSize, kTileSize);
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            if (!dark.Keyed(x, y)) {
                out.Set(x, y, dark.Get(x, y));
                if (dark.Keyed(x + 1, y + 1)) {
                    out.Set(x + 1, y + 1, crackLight);
                }
            }
        }
    }
    return out;
}

int OpaquePixels(const Image& image)
{
    int n = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            n += !image.Keyed(x, y);
        }
    }
    return n;
}

}  // namespace

void PasteDamageOverlays(Image& sheet)
{
    const std::vector<Crack> cracks = MakeCracks();
    int previous = 0;
    for (int level = 0; level < Asset::kDamageOverlayCount; ++level) {
        const Image overlay = DrawDamageOverlay(cracks, level);
        const int covered = OpaquePixels(overlay);
        if (covered <= previous) {
            throw std::runtime_error("damage overlays must grow with each level");
        }
        previous = covered;
        sheet.Paste(overlay, level * kTileSize, Asset::kDamageOverlayRow);
    }
}
