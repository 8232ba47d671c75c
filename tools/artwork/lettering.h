// A blocky 5 x 7 pixel font (only the letters the game needs), with outlines and shadows.
#pragma once

#include "artwork/image.h"

#include <cstdint>
#include <string_view>
#include <vector>

constexpr int kGlyphWidth = 5;  // font pixels; letters are one font pixel apart
constexpr int kGlyphHeight = 7;

// Width in pixels of a line of text drawn at the given scale.
int TextWidth(std::string_view text, int scale);

// A set of pixels, used to build lettering with outlines and shadows.
class Mask {
public:
    Mask(int width, int height);

    bool At(int x, int y) const;
    void Set(int x, int y);
    // The mask widened by a round brush of the given radius.
    Mask Grown(int radius) const;
    Mask Shifted(int dx, int dy) const;

private:
    int width;
    int height;
    std::vector<std::uint8_t> bits;
};

// The pixels of text with its top-left corner at (x, y), in a width x height mask.
Mask TextMask(int width, int height, std::string_view text, int x, int y, int scale);

struct TextStyle {
    Rgb top;  // fill gradient, top to bottom of the letters
    Rgb bottom;
    Rgb outline;
    int outlineWidth;
    Rgb shadow;
    int shadowOffset;
};

// Draws text centred on cx with its top at y: drop shadow, outline and gradient fill.
void DrawText(Image& image, std::string_view text, int cx, int y, int scale, const TextStyle& style);
