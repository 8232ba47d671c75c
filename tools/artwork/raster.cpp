// Shapes, strokes, shading and the materials built from them.
#include "artwork/raster.h"

#include "artwork/noise.h"

#include <utility>

bool InRoundRect(double px, double py, double x, double y, double w, double h, double r)
{
    if (px < x || py < y || px >= x + w || py >= y + h) {
        return false;
    }
    const double qx = std::clamp(px, x + r, x + w - r);
    const double qy = std::clamp(py, y + r, y + h - r);
    return (px - qx) * (px - qx) + (py - qy) * (py - qy) <= r * r;
}

bool InPolygon(const std::vector<Pt>& polygon, double px, double py)
{
    bool in = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Pt a = polygon[i];
        const Pt b = polygon[j];
        if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x) {
            in = !in;
        }
    }
    return in;
}

double SegmentDistance(Pt p, Pt a, Pt b)
{
    const double vx = b.x - a.x;
    const double vy = b.y - a.y;
    const double length2 = vx * vx + vy * vy;
    const double t = length2 > 0 ? Clamp01(((p.x - a.x) * vx + (p.y - a.y) * vy) / length2) : 0.0;
    const double dx = p.x - (a.x + t * vx);
    const double dy = p.y - (a.y + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

void Rod(Image& image, Pt a, Pt b, double width, Rgb base, double light)
{
    const double r = width / 2;
    ThickLine(image, a, b, width, [&](double px, double py) {
        const double d = SegmentDistance({px, py}, a, b) / r;  // 0 on the centre line, 1 at the rim
        return Shade(base, light * (1 - d) - 0.25 * d);
    });
}

void PixelLine(Image& image, int x0, int y0, int x1, int y1, Rgb c)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        image.Set(x0, y0, c);
        if (x0 == x1 && y0 == y1) {
            break;
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

Rgb SphereShade(Rgb base, double cx, double cy, double r, double px, double py, double gloss)
{
    const double dx = (px - cx) / r;
    const double dy = (py - cy) / r;
    const double dz = std::sqrt(std::max(0.0, 1 - dx * dx - dy * dy));
    const double lx = -0.45;
    const double ly = -0.6;
    const double lz = 0.66;
    const double lambert = std::max(0.0, dx * lx + dy * ly + dz * lz);
    const Rgb c = Shade(base, (lambert - 0.65) * 0.8);
    const double glint = std::pow(lambert, 14) * gloss;
    return Mix(c, kWhite, glint);
}

void Bevel(Image& image, int x, int y, int w, int h, int thickness, double light, double dark)
{
    for (int py = y; py < y + h; ++py) {
        for (int px = x; px < x + w; ++px) {
            if (image.Keyed(px, py)) {
                continue;
            }
            const int left = px - x;
            const int top = py - y;
            const int right = x + w - 1 - px;
            const int bottom = y + h - 1 - py;
            const int edge = std::min({left, top, right, bottom});
            if (edge >= thickness) {
                continue;
            }
            const double f = 1.0 - static_cast<double>(edge) / thickness;
            const bool lit = std::min(left, top) <= std::min(right, bottom);
            image.Set(px, py, Shade(image.Get(px, py), lit ? light * f : -dark * f));
        }
    }
}

void InkEdges(Image& image, double amount)
{
    std::vector<std::pair<int, int>> edge;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (!image.Keyed(x, y) && (image.Keyed(x - 1, y) || image.Keyed(x + 1, y) ||
                                       image.Keyed(x, y - 1) || image.Keyed(x, y + 1))) {
                edge.emplace_back(x, y);
            }
        }
    }
    for (auto [x, y] : edge) {
        image.Set(x, y, Shade(image.Get(x, y), -amount));
    }
}

Rgb WoodShade(Rgb base, std::uint32_t seed, double x, double y)
{
    const double warp = Fbm(x * 0.04, y * 0.12, seed) * 5;
    const double grain = 0.5 + 0.5 * std::sin((y + warp) * 1.7);
    const double knots = Fbm(x * 0.15, y * 0.3, seed + 50);
    const double speckle = Hash01(static_cast<int>(x), static_cast<int>(y), seed) - 0.5;
    return Shade(base, -0.16 * grain + (knots - 0.5) * 0.22 + speckle * 0.05);
}

void Rivet(Image& image, double cx, double cy, double r, Rgb base)
{
    FillCircle(image, cx + 0.6, cy + 0.8, r, Shade(base, -0.55));  // shadow
    FillCircle(image, cx, cy, r, Sphere(base, cx, cy, r, 0.8));
}
