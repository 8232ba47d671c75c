// Colour arithmetic, the picture and its BMP file.
#include "artwork/image.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

double Clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

std::uint8_t ToByte(double v)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

Rgb Mix(Rgb a, Rgb b, double t)
{
    t = Clamp01(t);
    return {ToByte(a.r + (b.r - a.r) * t), ToByte(a.g + (b.g - a.g) * t), ToByte(a.b + (b.b - a.b) * t)};
}

Rgb Shade(Rgb c, double amount)
{
    return amount >= 0 ? Mix(c, kWhite, amount) : Mix(c, kBlack, -amount);
}

Image::Image(int width, int height, Rgb fill)
    : width(width), height(height), pixels(static_cast<std::size_t>(width) * height, fill)
{
}

void Image::Paste(const Image& source, int left, int top)
{
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            Set(left + x, top + y, source.Get(x, y));
        }
    }
}

void Image::Overlay(const Image& source, int left, int top)
{
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            if (!source.Keyed(x, y)) {
                Set(left + x, top + y, source.Get(x, y));
            }
        }
    }
}

namespace {

constexpr std::uint32_t kHeaderBytes = 54;  // file header and BITMAPINFOHEADER

void PutLittleEndian(std::vector<char>& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

}  // namespace

void WriteBmp(const Image& image, const std::filesystem::path& path)
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(image.Width()) * 3 + 3) & ~3U;  // 4-byte rows
    const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(image.Height());
    std::vector<char> out;
    out.reserve(kHeaderBytes + dataBytes);
    out.push_back('B');
    out.push_back('M');
    PutLittleEndian(out, kHeaderBytes + dataBytes, 4);  // file size
    PutLittleEndian(out, 0, 4);                         // reserved
    PutLittleEndian(out, kHeaderBytes, 4);              // pixel data offset
    PutLittleEndian(out, 40, 4);                        // BITMAPINFOHEADER size
    PutLittleEndian(out, static_cast<std::uint32_t>(image.Width()), 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(image.Height()), 4);  // positive: rows stored bottom-up
    PutLittleEndian(out, 1, 2);                                           // planes
    PutLittleEndian(out, 24, 2);                                          // bits per pixel
    PutLittleEndian(out, 0, 4);                                           // no compression
    PutLittleEndian(out, dataBytes, 4);
    PutLittleEndian(out, 2835, 4);  // 72 dpi
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    for (int y = image.Height() - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < image.Width(); ++x, written += 3) {
            const Rgb c = image.Get(x, y);
            out.push_back(static_cast<char>(c.b));
            out.push_back(static_cast<char>(c.g));
            out.push_back(static_cast<char>(c.r));
        }
        for (; written < rowBytes; ++written) {
            out.push_back(0);
        }
    }
    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path.string());
    }
}
