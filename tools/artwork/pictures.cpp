// The cake, the start button and the win picture.
#include "artwork/drawings.h"
#include "artwork/lettering.h"
#include "artwork/raster.h"

#include <algorithm>
#include <array>
#include <cmath>

// Drawn on a 50-unit square scaled to size pixels.
Image DrawCake(int size)
{
    Image image(size, size);
    const double k = size / 50.0;
    const double cx = size / 2.0;
    // plate
    FillEllipse(image, cx, 45 * k, 24 * k, 3.6 * k,
                VerticalGradient(Rgb{235, 240, 250}, Rgb{160, 170, 190}, 41 * k, 49 * k));
    // sponge body with cream and jam layers, lit from the left
    const double x0 = 6 * k;
    const double x1 = 44 * k;
    const double y0 = 21 * k;
    const double y1 = 44.5 * k;
    FillRoundRect(image, x0, y0, x1 - x0, y1 - y0, 2.5 * k, [&](double x, double y) {
        const double side = (x - x0) / (x1 - x0);
        Rgb c = Mix(Rgb{244, 200, 128}, Rgb{214, 158, 92}, (y - y0) / (y1 - y0));
        if (y > 31 * k && y < 34.5 * k) {
            c = Rgb{255, 246, 226};
        }
        if (y >= 34.5 * k && y < 36.5 * k) {
            c = Rgb{205, 40, 70};
        }
        return Shade(c, side < 0.15 ? 0.12 : (side > 0.8 ? -0.18 * (side - 0.8) / 0.2 - 0.05 : 0.0));
    });
    // pink icing with drips
    const auto icing = [&](double x, double y) {
        const Rgb c = Mix(Rgb{255, 170, 205}, Rgb{240, 105, 160}, (y - 17 * k) / (12 * k));
        return Shade(c, x < x0 + 4 * k ? 0.15 : (x > x1 - 5 * k ? -0.12 : 0.0));
    };
    FillRoundRect(image, x0 - 1 * k, 16.5 * k, x1 - x0 + 2 * k, 8 * k, 3.5 * k, icing);
    const std::array<std::array<double, 2>, 5> drips{{{10, 4}, {17.5, 7}, {26, 3.5}, {33.5, 6}, {40, 3}}};
    for (const auto& d : drips) {
        FillRect(image, (d[0] - 2.3) * k, 22 * k, 4.6 * k, d[1] * k, icing);
        FillCircle(image, d[0] * k, (22 + d[1]) * k, 2.3 * k, icing);
    }
    // highlight along the icing top
    for (int x = static_cast<int>(x0 + 3 * k); x < static_cast<int>(x1 - 4 * k); ++x) {
        image.Set(x, static_cast<int>(17.8 * k), Rgb{255, 225, 238});
    }
    // sprinkles
    const std::array<std::array<double, 2>, 6> spr{
        {{12, 19.5}, {20, 21}, {30, 19.5}, {37, 21}, {24, 18.8}, {16, 18.5}}};
    const std::array<Rgb, 3> sprinkleColours{Rgb{80, 170, 255}, Rgb{255, 230, 60}, Rgb{120, 220, 120}};
    for (std::size_t i = 0; i < spr.size(); ++i) {
        FillRect(image, std::round(spr[i][0] * k), std::round(spr[i][1] * k), std::max(1.0, 2 * k),
                 std::max(1.0, k), sprinkleColours[i % 3]);
    }
    // cherry with stem
    Rod(image, {cx, 11 * k}, {cx + 5 * k, 3 * k}, std::max(1.4, 1.6 * k), Rgb{90, 140, 40}, 0.3);
    FillCircle(image, cx, 12.5 * k, 5 * k, Sphere(Rgb{215, 25, 40}, cx, 12.5 * k, 5 * k, 0.9));
    InkEdges(image, 0.45);
    return image;
}

namespace {

void DrawPanel(Image& image, int inset, double radius, Rgb top, Rgb bottom, Rgb border, int borderWidth)
{
    const double x = inset;
    const double y = inset;
    const double w = image.Width() - 2 * inset;
    const double h = image.Height() - 2 * inset;
    FillRoundRect(image, x + 6, y + 8, w - 6, h - 8, radius, Shade(border, -0.35));  // drop shadow
    FillRoundRect(image, x, y, w - 6, h - 8, radius, border);
    const double b = borderWidth;
    FillRoundRect(image, x + b, y + b, w - 6 - 2 * b, h - 8 - 2 * b, radius - b,
                  VerticalGradient(top, bottom, y, y + h));
    // glossy upper band
    Paint(
        image, x, y, x + w, y + h / 2,
        [&](double px, double py) {
            return InRoundRect(px, py, x + b + 6, y + b + 4, w - 6 - 2 * b - 12, (h - 8) * 0.38,
                               radius - b - 4);
        },
        [&](double, double py) { return Shade(Mix(top, bottom, (py - y) / h), 0.22); });
}

}  // namespace

Image DrawStartButton()
{
    Image image(Asset::kStartButton.width, Asset::kStartButton.height);
    DrawPanel(image, 10, 40, Rgb{140, 225, 90}, Rgb{45, 140, 40}, Rgb{28, 80, 24}, 7);
    const TextStyle style{Rgb{255, 255, 240}, Rgb{255, 220, 90}, Rgb{30, 70, 25}, 4, Rgb{20, 50, 15}, 5};
    DrawText(image, "START", 197, 56, 11, style);
    return image;
}

Image DrawEndPicture()
{
    Image image(Asset::kEndPicture.width, Asset::kEndPicture.height);
    DrawPanel(image, 6, 30, Rgb{255, 214, 110}, Rgb{240, 140, 50}, Rgb{110, 58, 28}, 6);
    const TextStyle title{Rgb{255, 255, 250}, Rgb{255, 230, 120}, Rgb{120, 40, 20}, 3, Rgb{90, 30, 10}, 4};
    DrawText(image, "YOU WIN!", 197, 26, 7, title);
    const Image icon = DrawCake(40);
    for (int i = 0; i < 3; ++i) {
        image.Overlay(icon, 197 - 20 + (i - 1) * 52, 85);
    }
    const TextStyle sub{Rgb{120, 50, 20}, Rgb{90, 35, 15}, Rgb{255, 240, 200}, 1, Rgb{150, 80, 30}, 2};
    DrawText(image, "ALL CAKES EATEN!", 197, 138, 3, sub);
    return image;
}
