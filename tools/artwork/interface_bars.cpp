// The bars above and below the field, and the aiming markers.
#include "artwork/drawings.h"
#include "artwork/lettering.h"
#include "artwork/noise.h"
#include "artwork/raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

// The top bar keeps out of the field's way: a slim lath along the window's top edge and, hanging
// from it in the corner, the board the cake icons stand on. Everything else is see-through, so a
// cake resting high on a pendulum's anchor, the anchors and high lobs all show.
Image DrawTopBar()
{
    Image image(Asset::kTopBar.width, Asset::kTopBar.height);
    const int width = image.Width();
    constexpr int kLath = 2;          // rows of the lath across the whole width
    constexpr int kBoardWidth = 183;  // the board in the top-left corner, its shadow included
    constexpr int kBoardHeight = 60;
    constexpr int kInsetWidth = 174;  // the cream panel under the icons, flush with the window's edges
    constexpr int kInsetHeight = 52;
    // the board, its outer corners off the picture so only the lower right one is rounded
    FillRoundRect(image, -20, -20, kBoardWidth + 20, kBoardHeight + 20, 12, Wood(Rgb{178, 118, 66}, 101));
    Bevel(image, 0, 0, kBoardWidth, kBoardHeight, 3, 0.2, 0.3);
    FillRoundRect(image, -10, -10, kInsetWidth + 10, kInsetHeight + 10, 8,
                  VerticalGradient(Rgb{238, 214, 170}, Rgb{220, 188, 138}, 0, kInsetHeight));
    for (int y = 0; y < kInsetHeight; ++y) {
        for (int x = 0; x < kInsetWidth; ++x) {
            if (!InRoundRect(x + 0.5, y + 0.5, -8, -8, kInsetWidth + 6, kInsetHeight + 6, 7)) {
                image.Set(x, y, Rgb{110, 70, 38});
            }
        }
    }
    Rivet(image, kInsetWidth + 4, 15, 2.2, Rgb{170, 170, 175});
    Rivet(image, kInsetWidth + 4, 39, 2.2, Rgb{170, 170, 175});
    // the lath: a lit top row over a dark one
    for (int x = 0; x < width; ++x) {
        image.Set(x, 0, WoodShade(Rgb{178, 118, 66}, 103, x, 0));
        image.Set(x, kLath - 1, Rgb{70, 42, 22});
    }
    // dark rim along the board's lower and right edges
    for (int x = 0; x < kBoardWidth; ++x) {
        for (int y = kBoardHeight - 1; y >= kLath; --y) {
            if (!image.Keyed(x, y)) {
                image.Set(x, y, Rgb{70, 42, 22});
                image.Set(x, y - 1, Rgb{90, 56, 30});
                break;
            }
        }
    }
    for (int y = kLath; y < kBoardHeight; ++y) {
        for (int x = kBoardWidth - 1; x >= 0; --x) {
            if (!image.Keyed(x, y)) {
                image.Set(x, y, Rgb{70, 42, 22});
                break;
            }
        }
    }
    return image;
}

// The controls, spelt out along the bottom bar in the start picture's lettering: the animal keys
// on little key caps, then how to shoot and how to trigger a trick, parted by rivets. The lit
// states light one part on a lamp-yellow plate: the key of the animal the next shot fires, or the
// trick's words while the trick waits for its click.
namespace {

enum class Light { None, Pig, Cow, Sheep, Trick };

// A rectangle on the bar, in pixels.
struct Spot {
    int x;
    int y;
    int width;
    int height;
};

constexpr int kPlateTop = 9;
constexpr int kPlateHeight = 22;
constexpr int kPlatePad = 4;  // beyond the lit letters and key cap on either side

Spot DrawPlate(Image& image, int left, int contentWidth)
{
    const Spot plate{left - kPlatePad, kPlateTop, contentWidth + 2 * kPlatePad, kPlateHeight};
    FillRoundRect(image, plate.x, plate.y, plate.width, plate.height, 5, Rgb{110, 62, 20});
    FillRoundRect(image, plate.x + 1, plate.y + 1, plate.width - 2, plate.height - 2, 4,
                  VerticalGradient(Rgb{255, 232, 140}, Rgb{240, 168, 48}, plate.y, plate.y + plate.height));
    return plate;
}

// The hint's lettering, its keys and its two phrases, in pixels.
constexpr int kHintScale = 2;
constexpr int kHintTop = 13;
constexpr int kCap = 18;       // a key cap's side
constexpr int kCapGap = 6;     // between a key cap and its animal
constexpr int kKeySpace = 18;  // between an animal and the next key cap
constexpr int kPart = 34;      // before each phrase, a rivet in its middle

struct Key {
    char letter;
    std::string_view animal;
    Light light;
};
constexpr std::array<Key, 3> kKeys{
    {{'Z', "PIG", Light::Pig}, {'X', "COW", Light::Cow}, {'C', "SHEEP", Light::Sheep}}};
constexpr std::string_view kShoot = "PULL BACK AND RELEASE TO SHOOT";
constexpr std::string_view kTrick = "CLICK AGAIN FOR THE TRICK";

int HintWidth()
{
    int width = 0;
    for (const Key& key : kKeys) {
        width += kCap + kCapGap + TextWidth(key.animal, kHintScale) + kKeySpace;
    }
    width -= kKeySpace;
    for (std::string_view phrase : {kShoot, kTrick}) {
        width += kPart + TextWidth(phrase, kHintScale);
    }
    return width;
}

// Writes `text` in the hint's lettering from `x`; returns where the text ends.
int DrawWords(Image& image, std::string_view text, int x)
{
    const TextStyle label{Rgb{255, 252, 232}, Rgb{250, 222, 150}, Rgb{62, 34, 14}, 1, Rgb{48, 26, 10}, 1};
    DrawText(image, text, x + TextWidth(text, kHintScale) / 2, kHintTop, kHintScale, label);
    return x + TextWidth(text, kHintScale);
}

// A key cap with its letter, its left edge at `x`; a lit one glows and has a red letter.
void DrawKeyCap(Image& image, int x, char letter, bool on)
{
    const TextStyle capLetter{Rgb{70, 40, 18}, Rgb{40, 22, 8}, Rgb{70, 40, 18}, 0, Rgb{0, 0, 0}, 0};
    const TextStyle litCapLetter{Rgb{170, 30, 12}, Rgb{120, 16, 6}, Rgb{170, 30, 12}, 0, Rgb{0, 0, 0}, 0};
    const double capTop = kHintTop - 3;
    FillRoundRect(image, x, capTop + 1, kCap, kCap, 3, Rgb{60, 34, 14});  // the key's shadow
    const Rgb capTopColour = on ? Rgb{255, 255, 222} : Rgb{255, 250, 232};
    const Rgb capBottomColour = on ? Rgb{255, 212, 92} : Rgb{224, 206, 170};
    FillRoundRect(image, x, capTop, kCap, kCap - 1, 3,
                  VerticalGradient(capTopColour, capBottomColour, capTop, capTop + kCap));
    const char text[] = {letter, '\0'};
    DrawText(image, text, x + kCap / 2, kHintTop, kHintScale, on ? litCapLetter : capLetter);
}

// Draws the hint with the given part lit, and returns where its plate is (nothing lit: all zero).
Spot DrawControlsHint(Image& image, Light lit)
{
    int x = (image.Width() - HintWidth()) / 2;
    Spot plate{0, 0, 0, 0};
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const bool on = kKeys[i].light == lit;
        if (on) {
            plate = DrawPlate(image, x, kCap + kCapGap + TextWidth(kKeys[i].animal, kHintScale));
        }
        DrawKeyCap(image, x, kKeys[i].letter, on);
        x = DrawWords(image, kKeys[i].animal, x + kCap + kCapGap);
        if (i + 1 < kKeys.size()) {
            x += kKeySpace;
        }
    }
    constexpr int kRivetY =
        kHintTop + kGlyphHeight * kHintScale / 2;  // whole pixels, level with the letters' middle
    for (std::string_view phrase : {kShoot, kTrick}) {
        const int rivetX = x + kPart / 2;  // whole pixels, in the middle of the gap before the phrase
        Rivet(image, rivetX, kRivetY, 2.2, Rgb{170, 170, 175});
        x += kPart;
        if (phrase == kTrick && lit == Light::Trick) {
            plate = DrawPlate(image, x, TextWidth(phrase, kHintScale));
        }
        x = DrawWords(image, phrase, x);
    }
    return plate;
}

Image DrawBotBarWith(Light lit, Spot* plate)
{
    Image image(Asset::kBotBar.width, Asset::kBotBar.height);
    const int width = image.Width();
    FillRoundRect(image, 0, 7, width, 45, 10, Wood(Rgb{170, 112, 62}, 121));
    Bevel(image, 0, 7, width, 25, 3, 0.22, 0.3);
    for (int x = 0; x < width; ++x) {
        image.Set(x, 7, Rgb{92, 56, 28});
    }
    // grass tufts peeking over the top edge
    Rng rng(131);
    for (int x = 1; x < width - 1; x += 2 + rng.Below(2)) {
        const double clump = 0.5 + 0.5 * std::sin(x * 0.09) * std::sin(x * 0.023 + 1);  // taller in places
        const double h = rng.Uniform(2.5, 4.5) + clump * 4.5;
        const double lean = rng.Uniform(-2.0, 2.0);
        const Rgb green = Mix(Rgb{120, 198, 72}, Rgb{62, 140, 46}, rng.Uniform(0, 1));
        const double base = 11;
        FillPolygon(image, {{x - 1.6, base}, {x + 1.6, base}, {x + lean, base - h}},
                    [&](double, double y) { return Shade(green, (base - y) / h * 0.3); });
    }
    const Spot drawn = DrawControlsHint(image, lit);
    if (plate != nullptr) {
        *plate = drawn;
    }
    return image;
}

// The part of the lit bar that differs from the plain one, cut out where the catalogue places it;
// throws when the drawing and the catalogue disagree about that place.
Image DrawLitPart(Light lit, const Asset::Bitmap& bitmap, Asset::BarSpot spot)
{
    Spot plate{};
    const Image litBar = DrawBotBarWith(lit, &plate);
    const Image plainBar = DrawBotBarWith(Light::None, nullptr);
    const Spot wanted{spot.x, spot.y, bitmap.width, bitmap.height};
    const auto inside = [&](int x, int y) {
        return x >= wanted.x && x < wanted.x + wanted.width && y >= wanted.y && y < wanted.y + wanted.height;
    };
    bool outside = false;
    for (int y = 0; y < litBar.Height(); ++y) {
        for (int x = 0; x < litBar.Width(); ++x) {
            outside = outside || (!inside(x, y) && litBar.Get(x, y) != plainBar.Get(x, y));
        }
    }
    if (outside || plate.x != wanted.x || plate.y != wanted.y || plate.width != wanted.width ||
        plate.height != wanted.height) {
        throw std::runtime_error(std::string(bitmap.path) + " is lit at x " + std::to_string(plate.x) +
                                 ", y " + std::to_string(plate.y) + ", " + std::to_string(plate.width) +
                                 " x " + std::to_string(plate.height) +
                                 "; the asset catalogue places it elsewhere");
    }
    Image part(wanted.width, wanted.height);
    for (int y = 0; y < wanted.height; ++y) {
        for (int x = 0; x < wanted.width; ++x) {
            part.Set(x, y, litBar.Get(wanted.x + x, wanted.y + y));
        }
    }
    return part;
}

}  // namespace

Image DrawBotBar()
{
    return DrawBotBarWith(Light::None, nullptr);
}

Image DrawLitPig()
{
    return DrawLitPart(Light::Pig, Asset::kLitPig, Asset::kLitPigSpot);
}

Image DrawLitCow()
{
    return DrawLitPart(Light::Cow, Asset::kLitCow, Asset::kLitCowSpot);
}

Image DrawLitSheep()
{
    return DrawLitPart(Light::Sheep, Asset::kLitSheep, Asset::kLitSheepSpot);
}

Image DrawLitTrick()
{
    return DrawLitPart(Light::Trick, Asset::kLitTrick, Asset::kLitTrickSpot);
}

// Drawn on a 64-unit square scaled to size pixels; small sizes get a simpler drawing.
Image DrawCrosshair(int size)
{
    Image image(size, size);
    const double c = size / 2.0;
    const double k = size / 64.0;
    const Rgb red{230, 40, 40};
    const Rgb rim{255, 255, 255};
    const double rOut = 26 * k;
    const double rIn = 20 * k;
    const double pad = 1.5 * k;
    const auto ring = [&](double ro, double ri, Rgb col) {
        Paint(
            image, 0, 0, size, size,
            [&](double x, double y) {
                const double d = std::hypot(x - c, y - c);
                return d <= ro && d >= ri;
            },
            col);
    };
    const auto bars = [&](double halfWidth, double from, double to, Rgb col) {
        FillRect(image, c - halfWidth, from, 2 * halfWidth, to - from, col);
        FillRect(image, c - halfWidth, size - to, 2 * halfWidth, to - from, col);
        FillRect(image, from, c - halfWidth, to - from, 2 * halfWidth, col);
        FillRect(image, size - to, c - halfWidth, to - from, 2 * halfWidth, col);
    };
    if (size >= 32) {
        // white rim first, red on top
        ring(rOut + pad, rIn - pad, rim);
        bars(2 * k + pad, 2 * k, 24 * k + pad, rim);
        FillCircle(image, c, c, 3 * k + pad, rim);
        ring(rOut, rIn, red);
        bars(2 * k, 2 * k + pad, 24 * k, red);
        FillCircle(image, c, c, 3 * k, red);
    } else {
        // too small for a double rim: thin ring rimmed outside, ticks crossing it and a dot
        ring(c - 0.3, c - 1.9, rim);
        bars(2.0, 0, 5, rim);
        FillRect(image, c - 2, c - 1, 4, 2, rim);
        FillRect(image, c - 1, c - 2, 2, 4, rim);
        ring(c - 1.3, c - 2.5, red);
        bars(1.0, 0, 4, red);
        FillRect(image, c - 1, c - 1, 2, 2, red);
    }
    return image;
}
