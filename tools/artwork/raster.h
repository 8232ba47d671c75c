// Filled shapes, strokes and shading. Pixels are sampled at their centres, with no blending, so
// edges against magenta stay hard (no pink fringes after colour keying). A colour argument is
// either a plain Rgb or a callable (x, y) -> Rgb.
#pragma once

#include "artwork/image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <vector>

struct Pt {
    double x;
    double y;
};

template <class Colour>
Rgb ColourAt(const Colour& colour, double x, double y)
{
    if constexpr (std::is_convertible_v<Colour, Rgb>) {
        return colour;
    } else {
        return colour(x, y);
    }
}

// Sets every pixel of the box (x0, y0)-(x1, y1) whose centre is inside the shape.
template <class InsideTest, class Colour>
void Paint(Image& image, double x0, double y0, double x1, double y1, const InsideTest& inside,
           const Colour& colour)
{
    const int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
    const int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
    const int ix1 = std::min(image.Width() - 1, static_cast<int>(std::ceil(x1)));
    const int iy1 = std::min(image.Height() - 1, static_cast<int>(std::ceil(y1)));
    for (int y = iy0; y <= iy1; ++y) {
        for (int x = ix0; x <= ix1; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            if (inside(px, py)) {
                image.Set(x, y, ColourAt(colour, px, py));
            }
        }
    }
}

template <class Colour>
void FillRect(Image& image, double x, double y, double w, double h, const Colour& colour)
{
    Paint(
        image, x, y, x + w, y + h,
        [&](double px, double py) { return px >= x && px < x + w && py >= y && py < y + h; }, colour);
}

template <class Colour>
void FillEllipse(Image& image, double cx, double cy, double rx, double ry, const Colour& colour)
{
    Paint(
        image, cx - rx, cy - ry, cx + rx, cy + ry,
        [&](double px, double py) {
            const double dx = (px - cx) / rx;
            const double dy = (py - cy) / ry;
            return dx * dx + dy * dy <= 1.0;
        },
        colour);
}

template <class Colour>
void FillCircle(Image& image, double cx, double cy, double r, const Colour& colour)
{
    FillEllipse(image, cx, cy, r, r, colour);
}

bool InRoundRect(double px, double py, double x, double y, double w, double h, double r);

template <class Colour>
void FillRoundRect(Image& image, double x, double y, double w, double h, double r, const Colour& colour)
{
    Paint(
        image, x, y, x + w, y + h, [&](double px, double py) { return InRoundRect(px, py, x, y, w, h, r); },
        colour);
}

bool InPolygon(const std::vector<Pt>& polygon, double px, double py);

template <class Colour>
void FillPolygon(Image& image, const std::vector<Pt>& polygon, const Colour& colour)
{
    double x0 = 1e9;
    double y0 = 1e9;
    double x1 = -1e9;
    double y1 = -1e9;
    for (const Pt& p : polygon) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    Paint(
        image, x0, y0, x1, y1, [&](double px, double py) { return InPolygon(polygon, px, py); }, colour);
}

// Distance from p to the segment ab.
double SegmentDistance(Pt p, Pt a, Pt b);

// A stroke with round caps.
template <class Colour>
void ThickLine(Image& image, Pt a, Pt b, double width, const Colour& colour)
{
    const double r = width / 2;
    Paint(
        image, std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r,
        [&](double px, double py) {
            return SegmentDistance({px, py}, a, b) <= r;
        },
        colour);
}

// A rounded stroke lit along its centre, like a metal rod or a horn.
void Rod(Image& image, Pt a, Pt b, double width, Rgb base, double light = 0.35);
// One pixel wide line (Bresenham), for hairline cracks.
void PixelLine(Image& image, int x0, int y0, int x1, int y1, Rgb c);

// Colour of a lit ball at (px, py) for a sphere centred at (cx, cy) with radius r; light comes
// from the top left.
Rgb SphereShade(Rgb base, double cx, double cy, double r, double px, double py, double gloss = 0.6);

inline auto Sphere(Rgb base, double cx, double cy, double r, double gloss = 0.6)
{
    return [=](double px, double py) { return SphereShade(base, cx, cy, r, px, py, gloss); };
}

inline auto VerticalGradient(Rgb top, Rgb bottom, double y0, double y1)
{
    return [=](double, double py) { return Mix(top, bottom, (py - y0) / (y1 - y0)); };
}

// Lightens the top/left rim and darkens the bottom/right rim of a rectangle: a raised look.
void Bevel(Image& image, int x, int y, int w, int h, int thickness, double light, double dark);
// Darkens every opaque pixel that touches a see-through one: a crisp outline inside the shape.
void InkEdges(Image& image, double amount);

// Wood with horizontal grain, its knots and speckle fixed by the seed.
Rgb WoodShade(Rgb base, std::uint32_t seed, double x, double y);

inline auto Wood(Rgb base, std::uint32_t seed)
{
    return [=](double x, double y) { return WoodShade(base, seed, x, y); };
}

// A domed nail head with its shadow below right.
void Rivet(Image& image, double cx, double cy, double r, Rgb base);
