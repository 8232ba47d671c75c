// The artwork tool's picture: 24-bit colours on a magenta (see-through) ground, written as BMP.
#pragma once

#include "assets/asset_catalog.h"

#include <cstdint>
#include <filesystem>
#include <vector>

using Rgb = Asset::Colour;

constexpr Rgb kKey = Asset::kColourKey;
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

double Clamp01(double v);
std::uint8_t ToByte(double v);
// The colour a share t (clamped to 0..1) of the way from a to b.
Rgb Mix(Rgb a, Rgb b, double t);
// Positive amounts lighten toward white, negative ones darken toward black.
Rgb Shade(Rgb c, double amount);

class Image {
public:
    Image(int width, int height, Rgb fill = kKey);

    int Width() const { return width; }
    int Height() const { return height; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb Get(int x, int y) const { return pixels[Index(x, y)]; }
    // Outside the picture counts as see-through.
    bool Keyed(int x, int y) const { return !Inside(x, y) || Get(x, y) == kKey; }
    // Pixels outside the picture are dropped.
    void Set(int x, int y, Rgb c)
    {
        if (Inside(x, y)) {
            pixels[Index(x, y)] = c;
        }
    }
    // Copies the whole of source (magenta included) with its top-left corner at (left, top).
    void Paste(const Image& source, int left, int top);
    // Copies only the opaque pixels of source.
    void Overlay(const Image& source, int left, int top);

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width + x; }

    int width;
    int height;
    std::vector<Rgb> pixels;
};

// Throws std::runtime_error when the file cannot be written.
void WriteBmp(const Image& image, const std::filesystem::path& path);
