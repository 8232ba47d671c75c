// The game's icon: the cannon firing a pig over a farmyard hill, on a rounded badge.
#include "artwork/drawings.h"
#include "artwork/raster.h"
#include "png_file.h"

#include <cmath>
#include <stdexcept>
#include <vector>

// Drawn on a 64-unit square scaled to size pixels, so every icon size shares one drawing.
Image DrawIcon(int size)
{
    Image image(size, size);
    const double k = size / 64.0;
    const auto sky = VerticalGradient(Rgb{96, 170, 236}, Rgb{200, 232, 252}, 3 * k, 50 * k);
    FillRoundRect(image, 1 * k, 1 * k, 62 * k, 62 * k, 13 * k, Rgb{74, 44, 22});  // rim
    FillRoundRect(image, 4 * k, 4 * k, 56 * k, 56 * k, 10 * k, sky);
    // the hill, inside the badge
    Paint(
        image, 4 * k, 4 * k, 60 * k, 60 * k,
        [&](double x, double y) {
            return InRoundRect(x, y, 4 * k, 4 * k, 56 * k, 56 * k, 10 * k) &&
                   y > (44 + 5 * std::sin(x / k * 0.07 + 0.6)) * k;
        },
        VerticalGradient(Rgb{126, 204, 76}, Rgb{52, 128, 40}, 40 * k, 60 * k));
    // the cannon: a barrel aimed up and to the right on a wooden wheel
    const Pt breech{17 * k, 46 * k};
    const Pt muzzle{33 * k, 30 * k};
    Rod(image, breech, muzzle, 11 * k, Rgb{84, 90, 106}, 0.45);
    FillCircle(image, muzzle.x, muzzle.y, 4.2 * k, Rgb{22, 22, 28});
    const Pt wheel{19 * k, 49 * k};
    FillCircle(image, wheel.x, wheel.y, 8 * k, Rgb{74, 44, 22});
    FillCircle(image, wheel.x, wheel.y, 6.5 * k, Sphere(Rgb{186, 128, 70}, wheel.x, wheel.y, 8 * k, 0.2));
    FillCircle(image, wheel.x, wheel.y, 2.2 * k, Sphere(Rgb{170, 170, 180}, wheel.x, wheel.y, 2.2 * k));
    // the pig in flight, with a puff of smoke behind it
    FillCircle(image, 37 * k, 26 * k, 4 * k, Rgb{245, 245, 240});
    FillCircle(image, 41 * k, 23 * k, 3 * k, Rgb{235, 235, 230});
    const Pt pig{47 * k, 16 * k};
    const Rgb pink{250, 165, 185};
    const Rgb darkPink{225, 110, 140};
    FillPolygon(
        image,
        {{pig.x - 9 * k, pig.y - 2 * k}, {pig.x - 8 * k, pig.y - 11 * k}, {pig.x - 2 * k, pig.y - 7 * k}},
        darkPink);
    FillPolygon(
        image,
        {{pig.x + 9 * k, pig.y - 2 * k}, {pig.x + 8 * k, pig.y - 11 * k}, {pig.x + 2 * k, pig.y - 7 * k}},
        darkPink);
    FillEllipse(image, pig.x, pig.y, 10 * k, 9 * k, Sphere(pink, pig.x - 2 * k, pig.y - 2 * k, 11 * k, 0.3));
    FillEllipse(image, pig.x, pig.y + 3 * k, 5 * k, 3.6 * k, Rgb{214, 96, 128});
    for (double side : {-1.0, 1.0}) {
        FillEllipse(image, pig.x + side * 1.8 * k, pig.y + 3 * k, 1.1 * k, 1.5 * k, Rgb{110, 30, 55});
        FillCircle(image, pig.x + side * 4.5 * k, pig.y - 3 * k, 1.6 * k, Rgb{25, 20, 25});
    }
    return image;
}

// The icon for the desktop: drawn at four times the size, then each 4 x 4 block becomes one
// pixel whose opacity is the share of the block drawn (soft edges instead of the game's hard ones).
void WriteIconPng(int size, const std::filesystem::path& path)
{
    constexpr int kSamples = 4;
    const Image big = DrawIcon(size * kSamples);
    std::vector<unsigned char> rgba;
    rgba.reserve(static_cast<std::size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int r = 0;
            int g = 0;
            int b = 0;
            int n = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const int bx = x * kSamples + sx;
                    const int by = y * kSamples + sy;
                    if (big.Keyed(bx, by)) {
                        continue;
                    }
                    const Rgb c = big.Get(bx, by);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    ++n;
                }
            }
            const int d = std::max(n, 1);
            rgba.insert(rgba.end(), {static_cast<unsigned char>(r / d), static_cast<unsigned char>(g / d),
                                     static_cast<unsigned char>(b / d),
                                     static_cast<unsigned char>(n * 255 / (kSamples * kSamples))});
        }
    }
    std::filesystem::create_directories(path.parent_path());
    if (!WritePngFile(path.string(), size, size, 4, rgba, "make_artwork")) {
        throw std::runtime_error("cannot write " + path.string());
    }
}
