// The cannon, its ball and the three animals it fires: small colour-keyed sprites with inked edges.
#include "artwork/drawings.h"
#include "artwork/raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

Image DrawCannon()
{
    Image image(Asset::kCannon.width, Asset::kCannon.height);
    const Pt pivot{15, 29};
    const double ang = -std::numbers::pi / 4;  // up and to the right
    const Pt dir{std::cos(ang), std::sin(ang)};
    const Pt nrm{-dir.y, dir.x};
    const double length = 27;
    const auto along = [&](double x, double y) { return (x - pivot.x) * dir.x + (y - pivot.y) * dir.y; };
    const auto across = [&](double x, double y) { return (x - pivot.x) * nrm.x + (y - pivot.y) * nrm.y; };
    const auto radius = [&](double u) { return u > length - 4 || (u > 9 && u < 12) ? 6.6 : 6.0 - u * 0.03; };
    // barrel: a tapered tube with a band and a flared muzzle, lit along its upper side
    Paint(
        image, 0, 0, image.Width(), image.Height(),
        [&](double x, double y) {
            const double u = along(x, y);
            return u >= -1 && u <= length && std::abs(across(x, y)) <= radius(u);
        },
        [&](double x, double y) {
            const double u = along(x, y);
            const double t = across(x, y) / radius(u);  // -1 upper-left rim .. +1 lower-right rim
            const Rgb base = radius(u) > 6.5 ? Rgb{108, 114, 130} : Rgb{84, 90, 106};
            const double light = std::max(0.0, 1 - std::abs(t + 0.45) * 2.2);
            return Shade(base, light * 0.5 - std::max(0.0, t) * 0.45);
        });
    // the bore seen at the muzzle
    Paint(
        image, 0, 0, image.Width(), image.Height(),
        [&](double x, double y) {
            const double du = (along(x, y) - (length - 1.6)) / 1.6;
            const double dv = across(x, y) / 4.3;
            return du * du + dv * dv <= 1;
        },
        Rgb{22, 22, 28});
    // breech knob
    const Pt knob{pivot.x - dir.x * 2.5, pivot.y - dir.y * 2.5};
    FillCircle(image, knob.x, knob.y, 4.2, Sphere(Rgb{90, 96, 112}, knob.x, knob.y, 4.2));
    // wooden carriage wheel with spokes
    const Pt wc{15, 34};
    const Rgb darkWood{74, 44, 22};
    const Rgb lightWood{186, 128, 70};
    FillCircle(image, wc.x, wc.y, 9.5, darkWood);
    FillCircle(image, wc.x, wc.y, 8.2, Sphere(lightWood, wc.x, wc.y, 9.5, 0.2));
    FillCircle(image, wc.x, wc.y, 6.3, Rgb{58, 34, 18});
    for (int i = 0; i < 6; ++i) {
        const double a = i * std::numbers::pi / 3 + 0.25;
        Rod(image, wc, {wc.x + std::cos(a) * 6.6, wc.y + std::sin(a) * 6.6}, 2.0, lightWood, 0.2);
    }
    FillCircle(image, wc.x, wc.y, 2.6, Sphere(Rgb{170, 170, 180}, wc.x, wc.y, 2.6));
    InkEdges(image, 0.45);
    return image;
}

Image DrawBall()
{
    Image image(Asset::kBullet.width, Asset::kBullet.height);
    FillCircle(image, 10, 10, 9.3, Sphere(Rgb{78, 82, 96}, 10, 10, 9.3, 0.9));
    InkEdges(image, 0.5);
    return image;
}

Image DrawPig()
{
    Image image(Asset::kPig.width, Asset::kPig.height);
    const Rgb pink{250, 165, 185};
    const Rgb darkPink{225, 110, 140};
    // ears
    FillPolygon(image, {{2.5, 9}, {3.5, 1.5}, {9, 5}}, darkPink);
    FillPolygon(image, {{17.5, 9}, {16.5, 1.5}, {11, 5}}, darkPink);
    // head
    FillEllipse(image, 10, 11.5, 8.5, 7.6, Sphere(pink, 10, 11.5, 9.5, 0.3));
    // snout with nostrils
    FillEllipse(image, 10, 14.2, 4.6, 3.3, Rgb{196, 86, 118});
    FillEllipse(image, 10, 14, 3.8, 2.6, Sphere(Rgb{236, 120, 152}, 9.5, 13.5, 4.2, 0.3));
    for (int nx : {8, 11}) {
        image.Set(nx, 14, Rgb{110, 30, 55});
        image.Set(nx, 15, Rgb{140, 50, 75});
    }
    // eyes with a glint
    for (int ex : {6, 13}) {
        image.Set(ex, 9, Rgb{25, 20, 25});
        image.Set(ex, 10, Rgb{25, 20, 25});
        image.Set(ex + 1, 9, Rgb{255, 255, 255});
        image.Set(ex + 1, 10, Rgb{25, 20, 25});
    }
    // rosy cheeks
    image.Set(4, 13, Rgb{245, 120, 150});
    image.Set(15, 13, Rgb{245, 120, 150});
    InkEdges(image, 0.5);
    return image;
}

Image DrawCow()
{
    Image image(Asset::kCow.width, Asset::kCow.height);
    const Rgb horn{245, 230, 190};
    const Rgb hide{250, 250, 245};
    const Rgb patch{35, 32, 34};
    const Rgb muzzle{250, 175, 180};
    // horns
    Rod(image, {13, 9}, {7, 4.5}, 4, horn, 0.3);
    Rod(image, {27, 9}, {33, 4.5}, 4, horn, 0.3);
    // ears
    const auto ear = [&](double cx, double tilt) {
        FillEllipse(image, cx, 15 + tilt, 6, 3.2, patch);
        FillEllipse(image, cx + (cx < 20 ? 0.5 : -0.5), 15 + tilt, 3.6, 1.6, Rgb{230, 140, 150});
    };
    ear(6, 0);
    ear(34, 0);
    // head with patches
    const double hx = 20;
    const double hy = 19;
    const double hrx = 12.5;
    const double hry = 14;
    FillEllipse(image, hx, hy, hrx, hry, [&](double x, double y) {
        const bool spot = std::hypot(x - 13, y - 11) < 6.5 || std::hypot(x - 28, y - 22) < 5 ||
                          std::hypot(x - 31, y - 12) < 3.5;
        const Rgb base = spot ? patch : hide;
        return Shade(base, ((x - hx) + (y - hy)) / (hrx + hry) * -0.18);
    });
    // muzzle with nostrils
    FillEllipse(image, 20, 29.5, 10, 7, Sphere(muzzle, 18, 28, 11, 0.35));
    FillEllipse(image, 16.5, 29.5, 1.6, 2.2, Rgb{130, 60, 70});
    FillEllipse(image, 23.5, 29.5, 1.6, 2.2, Rgb{130, 60, 70});
    // mouth line
    for (int x = 17; x <= 23; ++x) {
        image.Set(x, 34, Rgb{190, 100, 110});
    }
    // eyes
    for (double ex : {14.5, 25.5}) {
        FillEllipse(image, ex, 18.5, 2.1, 2.8, Rgb{20, 15, 20});
        image.Set(static_cast<int>(ex) - 1, 17, Rgb{255, 255, 255});
    }
    // tuft between the horns
    FillCircle(image, 18, 6.5, 2.3, Rgb{40, 36, 38});
    FillCircle(image, 21.5, 6, 2.5, Rgb{40, 36, 38});
    InkEdges(image, 0.55);
    return image;
}

Image DrawSheep()
{
    Image image(Asset::kSheep.width, Asset::kSheep.height);
    const Rgb wool{250, 250, 244};
    const Rgb face{58, 52, 56};
    // fluffy wool: a ring of puffs around the body
    const std::array<std::array<double, 3>, 10> puffs{{{15, 15, 10},
                                                       {7, 9, 5},
                                                       {15, 5.5, 5},
                                                       {23, 9, 5},
                                                       {25, 17, 5},
                                                       {21, 24, 5},
                                                       {9, 24, 5},
                                                       {5, 17, 5},
                                                       {15, 25.5, 4},
                                                       {11, 6, 4}}};
    for (const auto& p : puffs) {
        FillCircle(image, p[0], p[1], p[2], Rgb{200, 200, 196});
    }
    for (const auto& p : puffs) {
        FillCircle(image, p[0] - 0.6, p[1] - 0.6, p[2] - 0.8,
                   Sphere(wool, p[0] - 0.6, p[1] - 0.6, p[2], 0.2));
    }
    // ears
    FillEllipse(image, 8, 14, 3.5, 1.8, face);
    FillEllipse(image, 22, 14, 3.5, 1.8, face);
    // face
    FillEllipse(image, 15, 17.5, 5, 7,
                [&](double x, double y) { return Shade(face, -((x - 13) + (y - 15)) / 40); });
    // wool fringe on the forehead
    for (double fx : {12.0, 15.0, 18.0}) {
        FillCircle(image, fx, 11, 2.4, Sphere(wool, fx, 11, 2.4, 0.2));
    }
    // eyes and nose
    for (int ex : {12, 17}) {
        image.Set(ex, 15, Rgb{255, 255, 255});
        image.Set(ex + 1, 15, Rgb{255, 255, 255});
        image.Set(ex + 1, 16, Rgb{10, 10, 12});
        image.Set(ex, 16, Rgb{255, 255, 255});
    }
    image.Set(14, 21, Rgb{200, 130, 140});
    image.Set(15, 21, Rgb{200, 130, 140});
    image.Set(14, 22, Rgb{30, 25, 28});
    image.Set(15, 22, Rgb{30, 25, 28});
    InkEdges(image, 0.45);
    return image;
}
