// The pixel font and the lettering drawn with it.
#include "artwork/lettering.h"

#include <array>
#include <stdexcept>
#include <string>

namespace {

struct Glyph {
    char ch;
    std::array<std::uint8_t, kGlyphHeight> rows;  // bit 4 = leftmost column
};

constexpr std::array kFont{
    Glyph{'A', {0b01110, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001}},
    Glyph{'B', {0b11110, 0b10001, 0b10001, 0b11110, 0b10001, 0b10001, 0b11110}},
    Glyph{'C', {0b01110, 0b10001, 0b10000, 0b10000, 0b10000, 0b10001, 0b01110}},
    Glyph{'D', {0b11110, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b11110}},
    Glyph{'E', {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b11111}},
    Glyph{'F', {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b10000}},
    Glyph{'G', {0b01110, 0b10001, 0b10000, 0b10111, 0b10001, 0b10001, 0b01111}},
    Glyph{'H', {0b10001, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001}},
    Glyph{'I', {0b01110, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110}},
    Glyph{'K', {0b10001, 0b10010, 0b10100, 0b11000, 0b10100, 0b10010, 0b10001}},
    Glyph{'L', {0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b11111}},
    Glyph{'N', {0b10001, 0b11001, 0b11001, 0b10101, 0b10011, 0b10011, 0b10001}},
    Glyph{'O', {0b01110, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110}},
    Glyph{'P', {0b11110, 0b10001, 0b10001, 0b11110, 0b10000, 0b10000, 0b10000}},
    Glyph{'R', {0b11110, 0b10001, 0b10001, 0b11110, 0b10100, 0b10010, 0b10001}},
    Glyph{'S', {0b01111, 0b10000, 0b10000, 0b01110, 0b00001, 0b00001, 0b11110}},
    Glyph{'T', {0b11111, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100}},
    Glyph{'U', {0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110}},
    Glyph{'W', {0b10001, 0b10001, 0b10001, 0b10101, 0b10101, 0b10101, 0b01010}},
    Glyph{'X', {0b10001, 0b10001, 0b01010, 0b00100, 0b01010, 0b10001, 0b10001}},
    Glyph{'Y', {0b10001, 0b10001, 0b01010, 0b00100, 0b00100, 0b00100, 0b00100}},
    Glyph{'Z', {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b10000, 0b11111}},
    Glyph{'!', {0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00000, 0b00100}},
    Glyph{'?', {0b01110, 0b10001, 0b00001, 0b00110, 0b00100, 0b00000, 0b00100}},
    Glyph{' ', {0, 0, 0, 0, 0, 0, 0}},
};

const Glyph& FindGlyph(char c)
{
    for (const Glyph& glyph : kFont) {
        if (glyph.ch == c) {
            return glyph;
        }
    }
    throw std::runtime_error(std::string("no glyph for '") + c + "'");
}

}  // namespace

int TextWidth(std::string_view text, int scale)
{
    return text.empty() ? 0 : static_cast<int>(text.size()) * (kGlyphWidth + 1) * scale - scale;
}

Mask::Mask(int width, int height)
    : width(width), height(height), bits(static_cast<std::size_t>(width) * height, 0)
{
}

bool Mask::At(int x, int y) const
{
    return x >= 0 && y >= 0 && x < width && y < height && bits[static_cast<std::size_t>(y) * width + x];
}

void Mask::Set(int x, int y)
{
    if (x >= 0 && y >= 0 && x < width && y < height) {
        bits[static_cast<std::size_t>(y) * width + x] = 1;
    }
}

Mask Mask::Grown(int radius) const
{
    Mask out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!At(x, y)) {
                continue;
            }
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (dx * dx + dy * dy <= radius * radius + radius) {
                        out.Set(x + dx, y + dy);
                    }
                }
            }
        }
    }
    return out;
}

Mask Mask::Shifted(int dx, int dy) const
{
    Mask out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (At(x, y)) {
                out.Set(x + dx, y + dy);
            }
        }
    }
    return out;
}

Mask TextMask(int width, int height, std::string_view text, int x, int y, int scale)
{
    Mask mask(width, height);
    for (char ch : text) {
        const Glyph& glyph = FindGlyph(ch);
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int col = 0; col < kGlyphWidth; ++col) {
                if ((glyph.rows[row] & (1 << (kGlyphWidth - 1 - col))) == 0) {
                    continue;
                }
                for (int sy = 0; sy < scale; ++sy) {
                    for (int sx = 0; sx < scale; ++sx) {
                        mask.Set(x + col * scale + sx, y + row * scale + sy);
                    }
                }
            }
        }
        x += (kGlyphWidth + 1) * scale;
    }
    return mask;
}

void DrawText(Image& image, std::string_view text, int cx, int y, int scale, const TextStyle& style)
{
    const int x = cx - TextWidth(text, scale) / 2;
    const Mask fill = TextMask(image.Width(), image.Height(), text, x, y, scale);
    const Mask outline = fill.Grown(style.outlineWidth);
    const Mask shadow = outline.Shifted(style.shadowOffset, style.shadowOffset);
    const double h = kGlyphHeight * scale;
    for (int py = 0; py < image.Height(); ++py) {
        for (int px = 0; px < image.Width(); ++px) {
            if (fill.At(px, py)) {
                image.Set(px, py, Mix(style.top, style.bottom, (py - y) / h));
            } else if (outline.At(px, py)) {
                image.Set(px, py, style.outline);
            } else if (shadow.At(px, py) && !image.Keyed(px, py)) {
                image.Set(px, py, Mix(image.Get(px, py), style.shadow, 0.6));
            }
        }
    }
}
