// Draws every picture of the game (24-bit BMPs, magenta = see-through) and its desktop icons (PNGs); run: make_artwork [bmp_dir [icon_dir]].
#include "tools/png_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <numbers>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Colours
// ---------------------------------------------------------------------------

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb kKey{255, 0, 255};  // the colour the game treats as transparent
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

std::uint8_t to_byte(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

Rgb mix(Rgb a, Rgb b, double t) {
    t = clamp01(t);
    return {to_byte(a.r + (b.r - a.r) * t), to_byte(a.g + (b.g - a.g) * t), to_byte(a.b + (b.b - a.b) * t)};
}

// Positive amounts lighten toward white, negative ones darken toward black.
Rgb shade(Rgb c, double amount) { return amount >= 0 ? mix(c, kWhite, amount) : mix(c, kBlack, -amount); }

// ---------------------------------------------------------------------------
// Deterministic randomness and noise
// ---------------------------------------------------------------------------

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {  // splitmix64
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double uniform(double lo, double hi) { return lo + (hi - lo) * static_cast<double>(next() >> 11) / 9007199254740992.0; }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t state_;
};

double hash01(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393U + static_cast<std::uint32_t>(y) * 668265263U + seed * 2246822519U;
    h = (h ^ (h >> 13)) * 1274126177U;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFFFFU) / 16777216.0;
}

double value_noise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const double a = hash01(ix, iy, seed), b = hash01(ix + 1, iy, seed);
    const double c = hash01(ix, iy + 1, seed), d = hash01(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

// Fractal noise in [0, 1).
double fbm(double x, double y, std::uint32_t seed, int octaves = 3) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * value_noise(x, y, seed + static_cast<std::uint32_t>(i) * 101U);
        norm += amp;
        amp *= 0.5;
        x *= 2;
        y *= 2;
    }
    return sum / norm;
}

// ---------------------------------------------------------------------------
// Image and BMP output
// ---------------------------------------------------------------------------

class Image {
public:
    Image(int w, int h, Rgb fill = kKey) : w_(w), h_(h), px_(static_cast<std::size_t>(w) * h, fill) {}
    int width() const { return w_; }
    int height() const { return h_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    Rgb get(int x, int y) const { return px_[index(x, y)]; }
    bool keyed(int x, int y) const { return !inside(x, y) || get(x, y) == kKey; }
    void set(int x, int y, Rgb c) {
        if (inside(x, y)) px_[index(x, y)] = c;
    }
    // Copies the whole of src (magenta included) with its top-left corner at (dx, dy).
    void paste(const Image& src, int dx, int dy) {
        for (int y = 0; y < src.h_; ++y)
            for (int x = 0; x < src.w_; ++x) set(dx + x, dy + y, src.get(x, y));
    }
    // Copies only the opaque pixels of src.
    void overlay(const Image& src, int dx, int dy) {
        for (int y = 0; y < src.h_; ++y)
            for (int x = 0; x < src.w_; ++x)
                if (!src.keyed(x, y)) set(dx + x, dy + y, src.get(x, y));
    }

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * w_ + x; }
    int w_, h_;
    std::vector<Rgb> px_;
};

void put_le(std::vector<char>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void write_bmp(const Image& img, const std::filesystem::path& path) {
    const std::uint32_t row = (static_cast<std::uint32_t>(img.width()) * 3 + 3) & ~3U;
    const std::uint32_t data = row * static_cast<std::uint32_t>(img.height());
    std::vector<char> out;
    out.reserve(54 + data);
    out.push_back('B');
    out.push_back('M');
    put_le(out, 54 + data, 4);  // file size
    put_le(out, 0, 4);          // reserved
    put_le(out, 54, 4);         // pixel data offset
    put_le(out, 40, 4);         // BITMAPINFOHEADER size
    put_le(out, static_cast<std::uint32_t>(img.width()), 4);
    put_le(out, static_cast<std::uint32_t>(img.height()), 4);  // positive: rows stored bottom-up
    put_le(out, 1, 2);                                         // planes
    put_le(out, 24, 2);                                        // bits per pixel
    put_le(out, 0, 4);                                         // no compression
    put_le(out, data, 4);
    put_le(out, 2835, 4);  // 72 dpi
    put_le(out, 2835, 4);
    put_le(out, 0, 4);
    put_le(out, 0, 4);
    for (int y = img.height() - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < img.width(); ++x, written += 3) {
            const Rgb c = img.get(x, y);
            out.push_back(static_cast<char>(c.b));
            out.push_back(static_cast<char>(c.g));
            out.push_back(static_cast<char>(c.r));
        }
        for (; written < row; ++written) out.push_back(0);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

// ---------------------------------------------------------------------------
// Shape helpers. Pixels are sampled at their centres, with no blending, so
// edges against magenta stay hard (no pink fringes after colour keying).
// A colour argument is either a plain Rgb or a callable (x, y) -> Rgb.
// ---------------------------------------------------------------------------

struct Pt {
    double x, y;
};

template <class C>
Rgb colour_at(const C& c, double x, double y) {
    if constexpr (std::is_convertible_v<C, Rgb>)
        return c;
    else
        return c(x, y);
}

template <class Inside, class C>
void paint(Image& img, double x0, double y0, double x1, double y1, const Inside& inside, const C& colour) {
    const int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
    const int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
    const int ix1 = std::min(img.width() - 1, static_cast<int>(std::ceil(x1)));
    const int iy1 = std::min(img.height() - 1, static_cast<int>(std::ceil(y1)));
    for (int y = iy0; y <= iy1; ++y)
        for (int x = ix0; x <= ix1; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            if (inside(px, py)) img.set(x, y, colour_at(colour, px, py));
        }
}

template <class C>
void fill_rect(Image& img, double x, double y, double w, double h, const C& c) {
    paint(img, x, y, x + w, y + h, [&](double px, double py) { return px >= x && px < x + w && py >= y && py < y + h; }, c);
}

template <class C>
void fill_ellipse(Image& img, double cx, double cy, double rx, double ry, const C& c) {
    paint(img, cx - rx, cy - ry, cx + rx, cy + ry,
          [&](double px, double py) {
              const double dx = (px - cx) / rx, dy = (py - cy) / ry;
              return dx * dx + dy * dy <= 1.0;
          },
          c);
}

template <class C>
void fill_circle(Image& img, double cx, double cy, double r, const C& c) {
    fill_ellipse(img, cx, cy, r, r, c);
}

bool in_round_rect(double px, double py, double x, double y, double w, double h, double r) {
    if (px < x || py < y || px >= x + w || py >= y + h) return false;
    const double qx = std::clamp(px, x + r, x + w - r), qy = std::clamp(py, y + r, y + h - r);
    return (px - qx) * (px - qx) + (py - qy) * (py - qy) <= r * r;
}

template <class C>
void fill_round_rect(Image& img, double x, double y, double w, double h, double r, const C& c) {
    paint(img, x, y, x + w, y + h, [&](double px, double py) { return in_round_rect(px, py, x, y, w, h, r); }, c);
}

bool in_polygon(const std::vector<Pt>& poly, double px, double py) {
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Pt a = poly[i], b = poly[j];
        if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

template <class C>
void fill_polygon(Image& img, const std::vector<Pt>& poly, const C& c) {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (const Pt& p : poly) {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
    paint(img, x0, y0, x1, y1, [&](double px, double py) { return in_polygon(poly, px, py); }, c);
}

// Distance from p to segment ab, and the signed side (for shading across a stroke).
double segment_distance(Pt p, Pt a, Pt b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double len2 = vx * vx + vy * vy;
    const double t = len2 > 0 ? clamp01(((p.x - a.x) * vx + (p.y - a.y) * vy) / len2) : 0.0;
    const double dx = p.x - (a.x + t * vx), dy = p.y - (a.y + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

// A stroke with round caps; the colour callable also receives the distance from the centre line (0..1).
template <class C>
void thick_line(Image& img, Pt a, Pt b, double width, const C& c) {
    const double r = width / 2;
    paint(img, std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r,
          [&](double px, double py) { return segment_distance({px, py}, a, b) <= r; }, c);
}

// A rounded stroke lit along its centre, like a metal rod or a horn.
void rod(Image& img, Pt a, Pt b, double width, Rgb base, double light = 0.35) {
    const double r = width / 2;
    thick_line(img, a, b, width, [&](double px, double py) {
        const double d = segment_distance({px, py}, a, b) / r;
        return shade(base, light * (1 - d) - 0.25 * d);
    });
}

// One pixel wide line (Bresenham), for hairline cracks.
void pixel_line(Image& img, int x0, int y0, int x1, int y1, Rgb c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        img.set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

// Colour of a lit ball at (px, py) for a sphere centred at (cx, cy) with radius r; light comes from the top left.
Rgb sphere_shade(Rgb base, double cx, double cy, double r, double px, double py, double gloss = 0.6) {
    const double dx = (px - cx) / r, dy = (py - cy) / r;
    const double dz = std::sqrt(std::max(0.0, 1 - dx * dx - dy * dy));
    const double lx = -0.45, ly = -0.6, lz = 0.66;
    const double lambert = std::max(0.0, dx * lx + dy * ly + dz * lz);
    Rgb c = shade(base, (lambert - 0.65) * 0.8);
    const double glint = std::pow(lambert, 14) * gloss;
    return mix(c, kWhite, glint);
}

auto sphere(Rgb base, double cx, double cy, double r, double gloss = 0.6) {
    return [=](double px, double py) { return sphere_shade(base, cx, cy, r, px, py, gloss); };
}

auto vertical_gradient(Rgb top, Rgb bottom, double y0, double y1) {
    return [=](double, double py) { return mix(top, bottom, (py - y0) / (y1 - y0)); };
}

// Lightens the top/left rim and darkens the bottom/right rim of a rectangle: a raised look.
void bevel(Image& img, int x, int y, int w, int h, int thickness, double light, double dark) {
    for (int py = y; py < y + h; ++py)
        for (int px = x; px < x + w; ++px) {
            if (img.keyed(px, py)) continue;
            const int dl = px - x, dt = py - y, dr = x + w - 1 - px, db = y + h - 1 - py;
            const int edge = std::min({dl, dt, dr, db});
            if (edge >= thickness) continue;
            const double f = 1.0 - static_cast<double>(edge) / thickness;
            const bool lit = std::min(dl, dt) <= std::min(dr, db);
            img.set(px, py, shade(img.get(px, py), lit ? light * f : -dark * f));
        }
}

// Darkens every opaque pixel that touches a see-through one: a crisp outline that stays inside the shape.
void ink_edges(Image& img, double amount) {
    std::vector<std::pair<int, int>> edge;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!img.keyed(x, y) && (img.keyed(x - 1, y) || img.keyed(x + 1, y) || img.keyed(x, y - 1) || img.keyed(x, y + 1)))
                edge.emplace_back(x, y);
    for (auto [x, y] : edge) img.set(x, y, shade(img.get(x, y), -amount));
}

// ---------------------------------------------------------------------------
// Blocky 5x7 pixel font (only the letters the game needs)
// ---------------------------------------------------------------------------

struct Glyph {
    char ch;
    std::array<std::uint8_t, 7> rows;  // bit 4 = leftmost column
};

constexpr std::array kFont{
    Glyph{'A', {0b01110, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001}},
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

const Glyph& glyph(char c) {
    for (const Glyph& g : kFont)
        if (g.ch == c) return g;
    throw std::runtime_error(std::string("no glyph for '") + c + "'");
}

constexpr int kGlyphW = 5, kGlyphH = 7;

int text_width(std::string_view text, int scale) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * (kGlyphW + 1) * scale - scale;
}

// A set of pixels, used to build lettering with outlines and shadows.
class Mask {
public:
    Mask(int w, int h) : w_(w), h_(h), bits_(static_cast<std::size_t>(w) * h, 0) {}
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_ && bits_[static_cast<std::size_t>(y) * w_ + x]; }
    void set(int x, int y) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) bits_[static_cast<std::size_t>(y) * w_ + x] = 1;
    }
    int width() const { return w_; }
    int height() const { return h_; }
    Mask grown(int radius) const {
        Mask out(w_, h_);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                if (!at(x, y)) continue;
                for (int dy = -radius; dy <= radius; ++dy)
                    for (int dx = -radius; dx <= radius; ++dx)
                        if (dx * dx + dy * dy <= radius * radius + radius) out.set(x + dx, y + dy);
            }
        return out;
    }
    Mask shifted(int dx, int dy) const {
        Mask out(w_, h_);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (at(x, y)) out.set(x + dx, y + dy);
        return out;
    }

private:
    int w_, h_;
    std::vector<std::uint8_t> bits_;
};

Mask text_mask(int w, int h, std::string_view text, int x, int y, int scale) {
    Mask m(w, h);
    for (char ch : text) {
        const Glyph& g = glyph(ch);
        for (int row = 0; row < kGlyphH; ++row)
            for (int col = 0; col < kGlyphW; ++col)
                if (g.rows[row] & (1 << (kGlyphW - 1 - col)))
                    for (int sy = 0; sy < scale; ++sy)
                        for (int sx = 0; sx < scale; ++sx) m.set(x + col * scale + sx, y + row * scale + sy);
        x += (kGlyphW + 1) * scale;
    }
    return m;
}

struct TextStyle {
    Rgb top, bottom;  // fill gradient
    Rgb outline;
    int outline_width;
    Rgb shadow;
    int shadow_offset;
};

// Draws text centred on cx with its top at y: drop shadow, outline and gradient fill.
void draw_text(Image& img, std::string_view text, int cx, int y, int scale, const TextStyle& style) {
    const int x = cx - text_width(text, scale) / 2;
    const Mask fill = text_mask(img.width(), img.height(), text, x, y, scale);
    const Mask outline = fill.grown(style.outline_width);
    const Mask shadow = outline.shifted(style.shadow_offset, style.shadow_offset);
    const double h = kGlyphH * scale;
    for (int py = 0; py < img.height(); ++py)
        for (int px = 0; px < img.width(); ++px) {
            if (fill.at(px, py)) {
                img.set(px, py, mix(style.top, style.bottom, (py - y) / h));
            } else if (outline.at(px, py)) {
                img.set(px, py, style.outline);
            } else if (shadow.at(px, py) && !img.keyed(px, py)) {
                img.set(px, py, mix(img.get(px, py), style.shadow, 0.6));
            }
        }
}

// ---------------------------------------------------------------------------
// Background
// ---------------------------------------------------------------------------

double far_hill_y(double x) { return 455 + 32 * std::sin(x * 0.0062 + 0.8) + 14 * std::sin(x * 0.017 + 2.0); }
double near_hill_y(double x) { return 540 + 26 * std::sin(x * 0.0085 + 2.4) + 9 * std::sin(x * 0.021 + 0.3); }

struct Cloud {
    double x, y, size;
};
constexpr std::array kClouds{Cloud{150, 150, 1.0}, Cloud{430, 95, 0.75}, Cloud{640, 200, 0.9}, Cloud{900, 250, 0.6},
                             Cloud{320, 300, 0.55}};

// How much of a cloud covers (x, y), 0..1, softly edged (the background is never colour keyed).
double cloud_cover(const Cloud& c, double x, double y, double& underside) {
    static constexpr std::array<std::array<double, 3>, 6> puffs{{{-60, 10, 32}, {-25, -12, 40}, {18, -22, 46},
                                                                 {58, -2, 36}, {85, 14, 26}, {10, 14, 38}}};
    double cover = 0;
    for (const auto& p : puffs) {
        const double dx = x - (c.x + p[0] * c.size), dy = y - (c.y + p[1] * c.size);
        const double d = std::sqrt(dx * dx + dy * dy) - p[2] * c.size;
        cover = std::max(cover, clamp01(0.5 - d / 1.5));
    }
    // a long rounded base under the puffs, so the bottom edge has no notches
    {
        const double bx = std::clamp(x, c.x - 60 * c.size, c.x + 85 * c.size), by = c.y + 12 * c.size;
        const double d = std::hypot(x - bx, y - by) - 20 * c.size;
        cover = std::max(cover, clamp01(0.5 - d / 1.5));
    }
    // flat bottom
    const double bottom = c.y + 30 * c.size;
    cover *= clamp01((bottom - y) / 1.5 + 0.5);
    underside = clamp01((y - (c.y - 5 * c.size)) / (35 * c.size));
    return cover;
}

Rgb background_pixel(double x, double y) {
    // sky
    Rgb c = mix(Rgb{92, 168, 236}, Rgb{196, 230, 250}, y / 470.0);
    // sun with a soft glow
    {
        const double d = std::hypot(x - 860, y - 105);
        c = mix(c, Rgb{255, 250, 205}, 0.35 * clamp01(1 - (d - 40) / 110));
        c = mix(c, Rgb{255, 236, 120}, clamp01(46 - d));
        if (d < 44) c = mix(c, Rgb{255, 248, 180}, clamp01((30 - std::hypot(x - 848, y - 93)) / 30));
    }
    for (const Cloud& cl : kClouds) {
        double under = 0;
        const double cover = cloud_cover(cl, x, y, under);
        if (cover > 0) c = mix(c, mix(Rgb{255, 255, 255}, Rgb{205, 220, 238}, under), cover);
    }
    // far hills, with a little red barn and some round trees
    const double fy = far_hill_y(x);
    if (y > fy - 1) {
        const double t = clamp01(y - fy + 0.5);
        Rgb hill = mix(Rgb{158, 212, 118}, Rgb{118, 186, 92}, (y - fy) / 120);
        hill = shade(hill, (fbm(x * 0.03, y * 0.05, 7) - 0.5) * 0.12);
        c = mix(c, hill, t);
    }
    {
        // barn on the far hill
        const double bx = 740, by = far_hill_y(740) + 6;
        const bool wall = x >= bx - 28 && x < bx + 28 && y >= by - 34 && y < by;
        const double roof_t = (y - (by - 58)) / 24.0;  // 0 at the ridge
        const bool roof = roof_t >= 0 && roof_t <= 1 && std::abs(x - bx) <= 6 + roof_t * 28;
        if (roof) c = (std::abs(x - bx) > 4 + roof_t * 28 || roof_t > 0.9) ? Rgb{240, 240, 235} : Rgb{120, 70, 60};
        if (wall) {
            c = Rgb{200, 50, 45};
            if (static_cast<int>(x) % 7 == 0) c = Rgb{175, 40, 38};
            const bool door = x >= bx - 11 && x < bx + 11 && y >= by - 22;
            if (door) {
                c = Rgb{240, 240, 235};
                const double u = (x - (bx - 11)) / 22, v = (y - (by - 22)) / 22;
                if (std::abs(u - v) > 0.12 && std::abs(u + v - 1) > 0.12 && u > 0.08 && u < 0.92 && v > 0.08 && v < 0.92)
                    c = Rgb{170, 38, 36};
            }
        }
    }
    for (double tx : {120.0, 170.0, 540.0, 975.0}) {
        const double ty = far_hill_y(tx) + 4;
        if (std::abs(x - tx) < 3 && y > ty - 22 && y < ty + 4) c = Rgb{110, 78, 50};
        const double d = std::hypot(x - tx, (y - (ty - 30)) * 1.1) - 20;
        if (d < 1) {
            Rgb leaf = mix(Rgb{88, 160, 70}, Rgb{50, 115, 48}, clamp01((x - tx + y - (ty - 30) + 20) / 40));
            leaf = shade(leaf, (value_noise(x * 0.35, y * 0.35, 11) - 0.5) * 0.25);
            c = mix(c, leaf, clamp01(0.5 - d));
        }
    }
    // near hill
    const double ny = near_hill_y(x);
    if (y > ny - 1) {
        const double t = clamp01(y - ny + 0.5);
        Rgb hill = mix(Rgb{112, 190, 78}, Rgb{64, 140, 52}, (y - ny) / 110);
        hill = shade(hill, (fbm(x * 0.05, y * 0.08, 3) - 0.5) * 0.16);
        // flowers
        const int cx = static_cast<int>(std::floor(x / 23)), cy = static_cast<int>(std::floor(y / 17));
        const double fx = cx * 23 + 4 + hash01(cx, cy, 5) * 15, fyy = cy * 17 + 3 + hash01(cx, cy, 6) * 11;
        if (fyy > ny + 8 && hash01(cx, cy, 8) < 0.35) {
            const double d = std::hypot(x - fx, y - fyy);
            const Rgb petal = hash01(cx, cy, 9) < 0.5 ? Rgb{255, 255, 250} : Rgb{255, 220, 70};
            if (d < 2.2) hill = d < 0.9 ? Rgb{250, 170, 40} : petal;
        }
        c = mix(c, hill, t);
    }
    // a wooden fence along the near hill
    {
        const double rail_top = ny - 24, rail_mid = ny - 12;
        const bool post = std::fmod(x + 1000, 60) < 5 && y > ny - 30 && y < ny + 4;
        const bool rail = (std::abs(y - rail_top) < 2 || std::abs(y - rail_mid) < 2) && y < ny + 2;
        if (post || rail) c = post ? Rgb{150, 105, 65} : Rgb{175, 128, 82};
        if (post && std::fmod(x + 1000, 60) < 1.5) c = Rgb{185, 140, 95};
    }
    return c;
}

Image make_background() {
    Image img(1000, 650);
    constexpr int kSamples = 3;  // supersampling keeps hill and cloud edges smooth
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            double r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Rgb c = background_pixel(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                    r += c.r, g += c.g, b += c.b;
                }
            constexpr double n = kSamples * kSamples;
            Rgb c{to_byte(r / n), to_byte(g / n), to_byte(b / n)};
            if (c == kKey) c.g = 1;  // never see-through
            img.set(x, y, c);
        }
    return img;
}

// ---------------------------------------------------------------------------
// Materials
// ---------------------------------------------------------------------------

// Wood with horizontal grain.
auto wood(Rgb base, std::uint32_t seed) {
    return [=](double x, double y) {
        const double warp = fbm(x * 0.04, y * 0.12, seed) * 5;
        const double grain = 0.5 + 0.5 * std::sin((y + warp) * 1.7);
        const double knots = fbm(x * 0.15, y * 0.3, seed + 50);
        return shade(base, -0.16 * grain + (knots - 0.5) * 0.22 + (hash01(static_cast<int>(x), static_cast<int>(y), seed) - 0.5) * 0.05);
    };
}

void rivet(Image& img, double cx, double cy, double r, Rgb base) {
    fill_circle(img, cx + 0.6, cy + 0.8, r, shade(base, -0.55));  // shadow
    fill_circle(img, cx, cy, r, sphere(base, cx, cy, r, 0.8));
}

// ---------------------------------------------------------------------------
// Block tiles (50 x 50)
// ---------------------------------------------------------------------------

constexpr int kTile = 50;

Image tile_ledge() {
    Image t(kTile, kTile);
    const std::array<int, 4> seams{0, 17, 34, 50};
    for (int p = 0; p < 3; ++p) {
        const int y0 = seams[p], h = seams[p + 1] - y0;
        const Rgb base = p == 1 ? Rgb{196, 140, 82} : Rgb{206, 150, 90};
        fill_rect(t, 0, y0, kTile, h, wood(base, 20U + static_cast<std::uint32_t>(p)));
        bevel(t, 0, y0, kTile, h, 3, 0.25, 0.35);
        // plank joint in the middle plank, staggered
        if (p == 1) {
            for (int y = y0; y < y0 + h; ++y) t.set(31, y, Rgb{92, 58, 30});
            bevel(t, 0, y0, 31, h, 2, 0.15, 0.25);
        }
        for (double nx : {5.5, 44.5}) rivet(t, nx, y0 + h / 2.0, 1.8, Rgb{150, 150, 155});
    }
    for (int y : {16, 33})
        for (int x = 0; x < kTile; ++x) t.set(x, y, Rgb{80, 48, 24});
    return t;
}

Image tile_earth() {
    Image t(kTile, kTile);
    fill_rect(t, 0, 0, kTile, kTile, [](double x, double y) {
        const double n = fbm(x * 0.09, y * 0.09, 31);
        return shade(Rgb{128, 84, 48}, (n - 0.5) * 0.35);
    });
    Rng rng(41);
    for (int i = 0; i < 70; ++i) {
        const int x = rng.below(kTile), y = rng.below(kTile);
        t.set(x, y, shade(t.get(x, y), i % 2 ? 0.22 : -0.3));
    }
    const std::array<std::array<double, 3>, 6> pebbles{{{11, 12, 3.2}, {36, 9, 2.4}, {27, 28, 3.6}, {9, 38, 2.6}, {41, 37, 3.0}, {21, 44, 1.8}}};
    for (const auto& p : pebbles) {
        fill_ellipse(t, p[0] + 0.7, p[1] + 0.8, p[2] * 1.3, p[2], Rgb{78, 50, 28});
        fill_ellipse(t, p[0], p[1], p[2] * 1.3, p[2], sphere(Rgb{178, 160, 132}, p[0], p[1], p[2] * 1.3, 0.3));
    }
    // a little root
    const std::vector<Pt> root{{34, 18}, {30, 20}, {27, 19}, {23, 22}};
    for (std::size_t i = 1; i < root.size(); ++i) thick_line(t, root[i - 1], root[i], 1.2, Rgb{170, 120, 70});
    bevel(t, 0, 0, kTile, kTile, 3, 0.18, 0.35);
    return t;
}

Image tile_bedrock() {
    Image t(kTile, kTile);
    Rng rng(53);
    std::vector<Pt> seeds;
    std::vector<double> tone;
    for (int gy = -1; gy <= 3; ++gy)
        for (int gx = -1; gx <= 3; ++gx) {
            seeds.push_back({gx * 17 + 8 + rng.uniform(-5, 5), gy * 17 + 8 + rng.uniform(-5, 5)});
            tone.push_back(rng.uniform(-0.12, 0.12));
        }
    fill_rect(t, 0, 0, kTile, kTile, [&](double x, double y) {
        double d1 = 1e9, d2 = 1e9;
        std::size_t best = 0;
        for (std::size_t i = 0; i < seeds.size(); ++i) {
            const double d = std::hypot(x - seeds[i].x, y - seeds[i].y);
            if (d < d1)
                d2 = d1, d1 = d, best = i;
            else if (d < d2)
                d2 = d;
        }
        const double gap = d2 - d1;
        if (gap < 1.4) return Rgb{30, 30, 36};
        const Rgb stone = shade(Rgb{84, 86, 96}, tone[best] + (fbm(x * 0.2, y * 0.2, 61) - 0.5) * 0.25);
        // lit on the upper-left side of each stone
        const double lit = ((seeds[best].x - x) + (seeds[best].y - y)) / 14.0;
        return shade(stone, std::clamp(lit * 0.12, -0.15, 0.15) + (gap < 3 ? -0.12 : 0.0));
    });
    bevel(t, 0, 0, kTile, kTile, 2, 0.15, 0.45);
    return t;
}

Image tile_spring() {
    Image t(kTile, kTile);
    fill_rect(t, 0, 0, kTile, kTile, vertical_gradient(Rgb{58, 64, 78}, Rgb{38, 42, 52}, 0, kTile));
    bevel(t, 0, 0, kTile, kTile, 3, 0.3, 0.4);
    // coil: back halves darker, front halves bright, zig-zagging between the plates
    const Rgb steel{200, 205, 215};
    std::vector<Pt> pts;
    for (int i = 0; i <= 6; ++i) pts.push_back({i % 2 ? 38.0 : 12.0, 38.0 - i * 4.3});
    for (std::size_t i = 1; i < pts.size(); i += 2) rod(t, pts[i - 1], pts[i], 3.2, shade(steel, -0.45), 0.2);
    for (std::size_t i = 2; i < pts.size(); i += 2) rod(t, pts[i - 1], pts[i], 3.6, steel, 0.5);
    // plates
    for (double py : {5.0, 39.0}) {
        fill_round_rect(t, 6, py, 38, 6, 2, vertical_gradient(Rgb{235, 80, 60}, Rgb{160, 35, 30}, py, py + 6));
        for (int x = 7; x < 43; ++x) t.set(x, static_cast<int>(py), Rgb{255, 150, 130});
    }
    for (double rx : {4.0, 46.0})
        for (double ry : {4.0, 46.0}) rivet(t, rx, ry, 1.6, Rgb{150, 155, 165});
    return t;
}

Image tile_pedestal() {
    Image t(kTile, kTile);
    const Rgb steel{150, 160, 175};
    fill_rect(t, 0, 0, kTile, kTile, [&](double x, double y) {
        const double brushed = (value_noise(x * 0.05, y * 1.3, 71) - 0.5) * 0.08;
        // vertical fluting of the column
        const double flute = std::cos((x - 5) / 10.0 * 2 * std::numbers::pi) * 0.12;
        return shade(steel, brushed + flute - (y - 25) / 200.0);
    });
    // cap and foot bands
    fill_rect(t, 0, 0, kTile, 11, vertical_gradient(Rgb{200, 208, 220}, Rgb{130, 138, 152}, 0, 11));
    fill_rect(t, 0, 39, kTile, 11, vertical_gradient(Rgb{185, 193, 205}, Rgb{112, 120, 134}, 39, 50));
    bevel(t, 0, 0, kTile, 11, 2, 0.3, 0.35);
    bevel(t, 0, 39, kTile, 11, 2, 0.3, 0.35);
    bevel(t, 0, 0, kTile, kTile, 2, 0.2, 0.5);
    for (double x : {6.0, 19.0, 31.0, 44.0}) {
        rivet(t, x, 5.5, 2.0, Rgb{175, 182, 195});
        rivet(t, x, 44.5, 2.0, Rgb{175, 182, 195});
    }
    return t;
}

Image tile_anchor() {
    Image t(kTile, kTile);
    const Rgb plate{120, 127, 138};
    fill_rect(t, 0, 0, kTile, kTile, plate);
    // diamond tread pattern
    for (int cy = 0; cy < 5; ++cy)
        for (int cx = 0; cx < 5; ++cx) {
            const double ox = cx * 10 + 2, oy = cy * 10 + 2;
            const bool up = (cx + cy) % 2 == 0;
            const Pt a{ox + 1, up ? oy + 5 : oy + 1}, b{ox + 5, up ? oy + 1 : oy + 5};
            thick_line(t, {a.x + 0.7, a.y + 0.7}, {b.x + 0.7, b.y + 0.7}, 1.6, shade(plate, -0.3));
            thick_line(t, a, b, 1.6, shade(plate, 0.3));
        }
    bevel(t, 0, 0, kTile, kTile, 3, 0.3, 0.45);
    // washer and hex bolt
    fill_circle(t, 26, 26.5, 14, shade(plate, -0.5));
    fill_circle(t, 25, 25, 14, [&](double x, double y) {
        const double d = std::hypot(x - 25, y - 25) / 14;
        return shade(Rgb{180, 186, 196}, 0.25 * (1 - d) - 0.2 * ((x - 25) + (y - 25)) / 14);
    });
    std::vector<Pt> hex;
    for (int i = 0; i < 6; ++i) {
        const double a = i * std::numbers::pi / 3 + 0.2;
        hex.push_back({25 + 9 * std::cos(a), 25 + 9 * std::sin(a)});
    }
    fill_polygon(t, hex, [&](double x, double y) {
        const double lit = -((x - 25) + (y - 25)) / 12.0;
        return shade(Rgb{140, 145, 155}, std::clamp(lit * 0.35, -0.35, 0.35));
    });
    fill_circle(t, 25, 25, 4.5, sphere(Rgb{165, 170, 180}, 25, 25, 4.5, 0.7));
    for (double rx : {6.0, 44.0})
        for (double ry : {6.0, 44.0}) rivet(t, rx, ry, 2.2, Rgb{170, 175, 185});
    return t;
}

Image tile_unknown() {
    Image t(kTile, kTile);
    const Rgb board{150, 150, 146};
    fill_rect(t, 0, 0, kTile, kTile, wood(board, 83));
    // frame: top, left, bottom and right boards
    const std::array<std::array<int, 4>, 4> frame{{{0, 0, kTile, 7}, {0, 0, 7, kTile}, {0, 43, kTile, 7}, {43, 0, 7, kTile}}};
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const auto [x, y, w, h] = frame[i];
        fill_rect(t, x, y, w, h, wood(shade(board, -0.22), 84U + static_cast<std::uint32_t>(i)));
        bevel(t, x, y, w, h, 2, 0.2, 0.3);
    }
    // brace
    thick_line(t, {8, 42}, {42, 8}, 7, wood(shade(board, -0.12), 90));
    // question plaque
    fill_circle(t, 25.5, 26.5, 13, Rgb{70, 70, 72});
    fill_circle(t, 25, 25, 13, [](double x, double y) { return shade(Rgb{225, 222, 205}, -std::hypot(x - 21, y - 21) / 60); });
    const Mask q = text_mask(kTile, kTile, "?", 18, 15, 3);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x)
            if (q.at(x, y)) t.set(x, y, y < 25 ? Rgb{70, 72, 80} : Rgb{50, 52, 60});
    for (double rx : {3.5, 46.5})
        for (double ry : {3.5, 46.5}) rivet(t, rx, ry, 1.5, Rgb{160, 160, 165});
    return t;
}

// ---------------------------------------------------------------------------
// Cake (score icon, target and win picture)
// ---------------------------------------------------------------------------

Image cake(int s) {
    Image img(s, s);
    const double k = s / 50.0;
    const double cx = s / 2.0;
    // plate
    fill_ellipse(img, cx, 45 * k, 24 * k, 3.6 * k, vertical_gradient(Rgb{235, 240, 250}, Rgb{160, 170, 190}, 41 * k, 49 * k));
    // sponge body with cream and jam layers, lit from the left
    const double x0 = 6 * k, x1 = 44 * k, y0 = 21 * k, y1 = 44.5 * k;
    fill_round_rect(img, x0, y0, x1 - x0, y1 - y0, 2.5 * k, [&](double x, double y) {
        const double side = (x - x0) / (x1 - x0);
        Rgb c = mix(Rgb{244, 200, 128}, Rgb{214, 158, 92}, (y - y0) / (y1 - y0));
        if (y > 31 * k && y < 34.5 * k) c = Rgb{255, 246, 226};
        if (y >= 34.5 * k && y < 36.5 * k) c = Rgb{205, 40, 70};
        return shade(c, side < 0.15 ? 0.12 : (side > 0.8 ? -0.18 * (side - 0.8) / 0.2 - 0.05 : 0.0));
    });
    // pink icing with drips
    const auto icing = [&](double x, double y) {
        const Rgb c = mix(Rgb{255, 170, 205}, Rgb{240, 105, 160}, (y - 17 * k) / (12 * k));
        return shade(c, x < x0 + 4 * k ? 0.15 : (x > x1 - 5 * k ? -0.12 : 0.0));
    };
    fill_round_rect(img, x0 - 1 * k, 16.5 * k, x1 - x0 + 2 * k, 8 * k, 3.5 * k, icing);
    const std::array<std::array<double, 2>, 5> drips{{{10, 4}, {17.5, 7}, {26, 3.5}, {33.5, 6}, {40, 3}}};
    for (const auto& d : drips) {
        fill_rect(img, (d[0] - 2.3) * k, 22 * k, 4.6 * k, d[1] * k, icing);
        fill_circle(img, d[0] * k, (22 + d[1]) * k, 2.3 * k, icing);
    }
    // highlight along the icing top
    for (int x = static_cast<int>(x0 + 3 * k); x < static_cast<int>(x1 - 4 * k); ++x) img.set(x, static_cast<int>(17.8 * k), Rgb{255, 225, 238});
    // sprinkles
    const std::array<std::array<double, 2>, 6> spr{{{12, 19.5}, {20, 21}, {30, 19.5}, {37, 21}, {24, 18.8}, {16, 18.5}}};
    const std::array<Rgb, 3> sprinkle_colours{Rgb{80, 170, 255}, Rgb{255, 230, 60}, Rgb{120, 220, 120}};
    for (std::size_t i = 0; i < spr.size(); ++i)
        fill_rect(img, std::round(spr[i][0] * k), std::round(spr[i][1] * k), std::max(1.0, 2 * k), std::max(1.0, k), sprinkle_colours[i % 3]);
    // cherry with stem
    rod(img, {cx, 11 * k}, {cx + 5 * k, 3 * k}, std::max(1.4, 1.6 * k), Rgb{90, 140, 40}, 0.3);
    fill_circle(img, cx, 12.5 * k, 5 * k, sphere(Rgb{215, 25, 40}, cx, 12.5 * k, 5 * k, 0.9));
    ink_edges(img, 0.45);
    return img;
}

// ---------------------------------------------------------------------------
// Damage overlays: cracks that spread from an impact point, on magenta
// ---------------------------------------------------------------------------

// A jagged crack path; a damage level reveals a growing part of it from its start.
struct Crack {
    std::vector<Pt> pts;
    int birth;           // first damage level showing this crack
    double first = 1e9;  // length shown at birth
    double grow = 0;     // extra length shown per level after birth
};

constexpr Pt kImpact{24.5, 23.5};

std::vector<Pt> jagged_path(Rng& rng, Pt from, double heading, double max_length) {
    std::vector<Pt> pts{from};
    double angle = heading;
    Pt p = from;
    for (double done = 0; done < max_length; done += 2.5) {
        angle = heading + std::clamp(angle + rng.uniform(-0.45, 0.45) - heading, -0.6, 0.6);
        p = {p.x + 2.5 * std::cos(angle), p.y + 2.5 * std::sin(angle)};
        pts.push_back(p);
        if (p.x < 0 || p.y < 0 || p.x >= kTile || p.y >= kTile) break;
    }
    return pts;
}

// The part of a path within the first `length` units of it.
std::vector<Pt> path_prefix(const std::vector<Pt>& pts, double length) {
    std::vector<Pt> out{pts.front()};
    for (std::size_t i = 1; i < pts.size() && length > 0; ++i) {
        const Pt a = pts[i - 1], b = pts[i];
        const double seg = std::hypot(b.x - a.x, b.y - a.y);
        const double t = std::min(1.0, length / seg);
        out.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        length -= seg;
    }
    return out;
}

// Cracks radiate from the impact point, one more direction per level, and from the middle levels on
// they are joined by rings of cross cracks, so the block looks shattered at the last level.
std::vector<Crack> make_cracks() {
    Rng rng(0x5EED);
    constexpr int kDirections = 8;
    constexpr std::array<int, kDirections> order{1, 5, 3, 7, 0, 4, 2, 6};  // direction revealed at each level
    constexpr double kFirst = 12, kGrow = 7;
    std::array<std::vector<Pt>, kDirections> radial;
    std::array<int, kDirections> birth{};
    std::vector<Crack> cracks;
    for (int level = 0; level < kDirections; ++level) {
        const int d = order[static_cast<std::size_t>(level)];
        const double heading = d * std::numbers::pi / 4 - 0.9 + rng.uniform(-0.25, 0.25);
        radial[static_cast<std::size_t>(d)] = jagged_path(rng, kImpact, heading, 70);
        birth[static_cast<std::size_t>(d)] = level;
        cracks.push_back({radial[static_cast<std::size_t>(d)], level, kFirst, kGrow});
    }
    // level at which radial d has grown to reach distance r from the impact
    const auto reach = [&](int d, double r) {
        return birth[static_cast<std::size_t>(d)] + std::max(0, static_cast<int>(std::ceil((r + 2 - kFirst) / kGrow)));
    };
    const auto point_at = [&](int d, double r) {
        for (const Pt& p : radial[static_cast<std::size_t>(d)])
            if (std::hypot(p.x - kImpact.x, p.y - kImpact.y) >= r) return p;
        return radial[static_cast<std::size_t>(d)].back();
    };
    const std::array<std::pair<double, int>, 3> rings{{{9, 3}, {18, 5}, {28, 7}}};
    for (const auto& [r, earliest] : rings)
        for (int d = 0; d < kDirections; ++d) {
            const int e = (d + 1) % kDirections;
            const int level = std::max({earliest, reach(d, r), reach(e, r)});
            if (level > 9) continue;
            const Pt a = point_at(d, r), b = point_at(e, r + rng.uniform(-3, 3));
            const Pt mid{(a.x + b.x) / 2 + rng.uniform(-2, 2), (a.y + b.y) / 2 + rng.uniform(-2, 2)};
            cracks.push_back({{a, mid, b}, level});
        }
    return cracks;
}

Image damage_overlay(const std::vector<Crack>& cracks, int level) {
    const Rgb crack_dark{34, 26, 22}, crack_light{176, 170, 160};
    Image dark(kTile, kTile);
    for (const Crack& c : cracks) {
        if (c.birth > level) continue;
        const int age = level - c.birth;
        const std::vector<Pt> pts = path_prefix(c.pts, c.first + c.grow * age);
        for (std::size_t i = 1; i < pts.size(); ++i) {
            const Pt a = pts[i - 1], b = pts[i];
            if (age < 2)
                pixel_line(dark, static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x), static_cast<int>(b.y), crack_dark);
            else
                thick_line(dark, a, b, age < 5 ? 1.8 : 2.5, crack_dark);
        }
    }
    // chunks knocked out of the corners once the block is nearly gone
    const std::array<std::vector<Pt>, 4> chips{{{{0, 0}, {13, 0}, {9, 5}, {3, 11}, {0, 14}},
                                                {{50, 50}, {50, 34}, {43, 40}, {40, 46}, {30, 50}},
                                                {{50, 0}, {50, 9}, {45, 8}, {40, 3}, {38, 0}},
                                                {{0, 50}, {0, 40}, {6, 43}, {10, 47}, {13, 50}}}};
    for (int i = 0; i < 4; ++i)
        if (level >= 6 + i) fill_polygon(dark, chips[static_cast<std::size_t>(i)], Rgb{44, 36, 32});
    // light edge below-right of each crack gives it depth
    Image out(kTile, kTile);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x)
            if (!dark.keyed(x, y)) {
                out.set(x, y, dark.get(x, y));
                if (dark.keyed(x + 1, y + 1)) out.set(x + 1, y + 1, crack_light);
            }
    return out;
}

int opaque_pixels(const Image& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += !img.keyed(x, y);
    return n;
}

// ---------------------------------------------------------------------------
// Tile sheet
// ---------------------------------------------------------------------------

Image make_tileset() {
    Image sheet(800, 800);
    sheet.paste(tile_bedrock(), 50, 0);
    sheet.paste(tile_earth(), 100, 0);
    sheet.paste(tile_ledge(), 150, 0);
    sheet.paste(tile_pedestal(), 350, 0);
    sheet.paste(tile_spring(), 400, 0);
    sheet.paste(tile_unknown(), 550, 0);
    sheet.paste(tile_anchor(), 700, 100);
    sheet.paste(cake(45), 600, 400);  // a target is 45 px wide, drawn from its tile's corner
    const std::vector<Crack> cracks = make_cracks();
    int previous = 0;
    for (int level = 0; level < 10; ++level) {
        const Image overlay = damage_overlay(cracks, level);
        const int covered = opaque_pixels(overlay);
        if (covered <= previous) throw std::runtime_error("damage overlays must grow with each level");
        previous = covered;
        sheet.paste(overlay, level * kTile, 750);
    }
    return sheet;
}

// ---------------------------------------------------------------------------
// Interface bars
// ---------------------------------------------------------------------------

Image make_top_bar() {
    Image img(1000, 64);
    constexpr int kBody = 58;
    fill_round_rect(img, 0, -20, 1000, kBody + 20, 12, wood(Rgb{178, 118, 66}, 101));
    // the plank seams
    for (int x = 0; x < 1000; ++x) img.set(x, 29, Rgb{96, 58, 30});
    bevel(img, 0, 0, 1000, 29, 3, 0.2, 0.3);
    bevel(img, 0, 30, 1000, kBody - 30, 3, 0.2, 0.3);
    // plain inset panel on the left for the cake counter
    fill_round_rect(img, 6, 5, 164, kBody - 10, 8, vertical_gradient(Rgb{238, 214, 170}, Rgb{220, 188, 138}, 5, kBody - 5));
    for (int y = 5; y < kBody - 5; ++y)
        for (int x = 6; x < 170; ++x)
            if (in_round_rect(x + 0.5, y + 0.5, 6, 5, 164, kBody - 10, 8) && !in_round_rect(x + 0.5, y + 0.5, 8, 7, 160, kBody - 14, 7))
                img.set(x, y, Rgb{110, 70, 38});
    // fence posts and nails across the rest
    for (int px = 230; px < 1000; px += 160) {
        fill_rect(img, px, 0, 18, kBody, wood(Rgb{150, 96, 52}, 110U + static_cast<std::uint32_t>(px)));
        bevel(img, px, 0, 18, kBody, 3, 0.2, 0.35);
        rivet(img, px + 9, 14, 2.2, Rgb{170, 170, 175});
        rivet(img, px + 9, 44, 2.2, Rgb{170, 170, 175});
    }
    // dark rim along the lower edge
    for (int x = 0; x < 1000; ++x)
        for (int y = kBody - 1; y >= 0; --y)
            if (!img.keyed(x, y)) {
                img.set(x, y, Rgb{70, 42, 22});
                img.set(x, y - 1, Rgb{90, 56, 30});
                break;
            }
    return img;
}

// The controls, spelt out along the bottom bar in the start picture's lettering: the animal keys
// on little key caps, then how to shoot and how to trigger a trick, parted by rivets.
void draw_controls_hint(Image& img) {
    constexpr int kScale = 2, kTop = 13;
    const TextStyle label{Rgb{255, 252, 232}, Rgb{250, 222, 150}, Rgb{62, 34, 14}, 1, Rgb{48, 26, 10}, 1};
    const TextStyle cap_letter{Rgb{70, 40, 18}, Rgb{40, 22, 8}, Rgb{70, 40, 18}, 0, Rgb{0, 0, 0}, 0};
    constexpr int kCap = 18, kGap = 6, kSpace = 18, kPart = 44;
    const std::array<std::pair<char, std::string_view>, 3> keys{{{'Z', "PIG"}, {'X', "COW"}, {'C', "SHEEP"}}};
    const std::array<std::string_view, 2> phrases{"DRAG AND RELEASE TO SHOOT", "CLICK AGAIN FOR THE TRICK"};
    int width = 0;
    for (const auto& [key, animal] : keys) width += kCap + kGap + text_width(animal, kScale) + kSpace;
    width -= kSpace;
    for (std::string_view phrase : phrases) width += kPart + text_width(phrase, kScale);
    int x = (img.width() - width) / 2;
    const auto words = [&](std::string_view text, const TextStyle& style) {
        draw_text(img, text, x + text_width(text, kScale) / 2, kTop, kScale, style);
        x += text_width(text, kScale);
    };
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const double cap_top = kTop - 3;
        fill_round_rect(img, x, cap_top + 1, kCap, kCap, 3, Rgb{60, 34, 14});  // the key's shadow
        fill_round_rect(img, x, cap_top, kCap, kCap - 1, 3, vertical_gradient(Rgb{255, 250, 232}, Rgb{224, 206, 170}, cap_top, cap_top + kCap));
        const char letter[] = {keys[i].first, '\0'};
        draw_text(img, letter, x + kCap / 2, kTop, kScale, cap_letter);
        x += kCap + kGap;
        words(keys[i].second, label);
        if (i + 1 < keys.size()) x += kSpace;
    }
    for (std::string_view phrase : phrases) {
        rivet(img, x + kPart / 2, kTop + kGlyphH * kScale / 2, 2.2, Rgb{170, 170, 175});
        x += kPart;
        words(phrase, label);
    }
}

Image make_bot_bar() {
    Image img(1000, 32);
    fill_round_rect(img, 0, 7, 1000, 45, 10, wood(Rgb{170, 112, 62}, 121));
    bevel(img, 0, 7, 1000, 25, 3, 0.22, 0.3);
    for (int x = 0; x < 1000; ++x) img.set(x, 7, Rgb{92, 56, 28});
    // grass tufts peeking over the top edge
    Rng rng(131);
    for (int x = 1; x < 999; x += 2 + rng.below(2)) {
        const double clump = 0.5 + 0.5 * std::sin(x * 0.09) * std::sin(x * 0.023 + 1);  // taller in places
        const double h = rng.uniform(2.5, 4.5) + clump * 4.5;
        const double lean = rng.uniform(-2.0, 2.0);
        const Rgb green = mix(Rgb{120, 198, 72}, Rgb{62, 140, 46}, rng.uniform(0, 1));
        const double base = 11;
        fill_polygon(img, {{x - 1.6, base}, {x + 1.6, base}, {x + lean, base - h}},
                     [&](double, double y) { return shade(green, (base - y) / h * 0.3); });
    }
    draw_controls_hint(img);
    return img;
}

// ---------------------------------------------------------------------------
// Aiming markers
// ---------------------------------------------------------------------------

Image crosshair(int size) {
    Image img(size, size);
    const double c = size / 2.0, k = size / 64.0;
    const Rgb red{230, 40, 40}, rim{255, 255, 255};
    const double r_out = 26 * k, r_in = 20 * k;
    const double pad = 1.5 * k;
    const auto ring = [&](double ro, double ri, Rgb col) {
        paint(img, 0, 0, size, size, [&](double x, double y) {
            const double d = std::hypot(x - c, y - c);
            return d <= ro && d >= ri;
        }, col);
    };
    const auto bars = [&](double half_width, double from, double to, Rgb col) {
        fill_rect(img, c - half_width, from, 2 * half_width, to - from, col);
        fill_rect(img, c - half_width, size - to, 2 * half_width, to - from, col);
        fill_rect(img, from, c - half_width, to - from, 2 * half_width, col);
        fill_rect(img, size - to, c - half_width, to - from, 2 * half_width, col);
    };
    if (size >= 32) {
        // white rim first, red on top
        ring(r_out + pad, r_in - pad, rim);
        bars(2 * k + pad, 2 * k, 24 * k + pad, rim);
        fill_circle(img, c, c, 3 * k + pad, rim);
        ring(r_out, r_in, red);
        bars(2 * k, 2 * k + pad, 24 * k, red);
        fill_circle(img, c, c, 3 * k, red);
    } else {
        // too small for a double rim: thin ring rimmed outside, ticks crossing it and a dot
        ring(c - 0.3, c - 1.9, rim);
        bars(2.0, 0, 5, rim);
        fill_rect(img, c - 2, c - 1, 4, 2, rim);
        fill_rect(img, c - 1, c - 2, 2, 4, rim);
        ring(c - 1.3, c - 2.5, red);
        bars(1.0, 0, 4, red);
        fill_rect(img, c - 1, c - 1, 2, 2, red);
    }
    return img;
}

// ---------------------------------------------------------------------------
// Buttons and end picture
// ---------------------------------------------------------------------------

void panel(Image& img, int inset, double radius, Rgb top, Rgb bottom, Rgb border, int border_width) {
    const double x = inset, y = inset, w = img.width() - 2 * inset, h = img.height() - 2 * inset;
    fill_round_rect(img, x + 6, y + 8, w - 6, h - 8, radius, shade(border, -0.35));  // drop shadow
    fill_round_rect(img, x, y, w - 6, h - 8, radius, border);
    const double b = border_width;
    fill_round_rect(img, x + b, y + b, w - 6 - 2 * b, h - 8 - 2 * b, radius - b, vertical_gradient(top, bottom, y, y + h));
    // glossy upper band
    paint(img, x, y, x + w, y + h / 2, [&](double px, double py) {
        return in_round_rect(px, py, x + b + 6, y + b + 4, w - 6 - 2 * b - 12, (h - 8) * 0.38, radius - b - 4);
    }, [&](double, double py) { return shade(mix(top, bottom, (py - y) / h), 0.22); });
}

Image make_start_button() {
    Image img(400, 200);
    panel(img, 10, 40, Rgb{140, 225, 90}, Rgb{45, 140, 40}, Rgb{28, 80, 24}, 7);
    const TextStyle style{Rgb{255, 255, 240}, Rgb{255, 220, 90}, Rgb{30, 70, 25}, 4, Rgb{20, 50, 15}, 5};
    draw_text(img, "START", 197, 56, 11, style);
    return img;
}

Image make_end_picture() {
    Image img(400, 200);
    panel(img, 6, 30, Rgb{255, 214, 110}, Rgb{240, 140, 50}, Rgb{110, 58, 28}, 6);
    const TextStyle title{Rgb{255, 255, 250}, Rgb{255, 230, 120}, Rgb{120, 40, 20}, 3, Rgb{90, 30, 10}, 4};
    draw_text(img, "YOU WIN!", 197, 26, 7, title);
    const Image icon = cake(40);
    for (int i = 0; i < 3; ++i) img.overlay(icon, 197 - 20 + (i - 1) * 52, 85);
    const TextStyle sub{Rgb{120, 50, 20}, Rgb{90, 35, 15}, Rgb{255, 240, 200}, 1, Rgb{150, 80, 30}, 2};
    draw_text(img, "ALL CAKES EATEN!", 197, 138, 3, sub);
    return img;
}

// ---------------------------------------------------------------------------
// Cannon, ball and the three animals
// ---------------------------------------------------------------------------

Image make_cannon() {
    Image img(45, 45);
    const Pt pivot{15, 29};
    const double ang = -std::numbers::pi / 4;  // up and to the right
    const Pt dir{std::cos(ang), std::sin(ang)}, nrm{-dir.y, dir.x};
    const double length = 27;
    const auto along = [&](double x, double y) { return (x - pivot.x) * dir.x + (y - pivot.y) * dir.y; };
    const auto across = [&](double x, double y) { return (x - pivot.x) * nrm.x + (y - pivot.y) * nrm.y; };
    const auto radius = [&](double u) { return u > length - 4 || (u > 9 && u < 12) ? 6.6 : 6.0 - u * 0.03; };
    // barrel: a tapered tube with a band and a flared muzzle, lit along its upper side
    paint(img, 0, 0, 45, 45, [&](double x, double y) {
        const double u = along(x, y);
        return u >= -1 && u <= length && std::abs(across(x, y)) <= radius(u);
    }, [&](double x, double y) {
        const double u = along(x, y), t = across(x, y) / radius(u);  // t: -1 upper-left rim .. +1 lower-right rim
        const Rgb base = radius(u) > 6.5 ? Rgb{108, 114, 130} : Rgb{84, 90, 106};
        const double light = std::max(0.0, 1 - std::abs(t + 0.45) * 2.2);
        return shade(base, light * 0.5 - std::max(0.0, t) * 0.45);
    });
    // the bore seen at the muzzle
    paint(img, 0, 0, 45, 45, [&](double x, double y) {
        const double du = (along(x, y) - (length - 1.6)) / 1.6, dv = across(x, y) / 4.3;
        return du * du + dv * dv <= 1;
    }, Rgb{22, 22, 28});
    // breech knob
    const Pt knob{pivot.x - dir.x * 2.5, pivot.y - dir.y * 2.5};
    fill_circle(img, knob.x, knob.y, 4.2, sphere(Rgb{90, 96, 112}, knob.x, knob.y, 4.2));
    // wooden carriage wheel with spokes
    const Pt wc{15, 34};
    const Rgb dark_wood{74, 44, 22}, light_wood{186, 128, 70};
    fill_circle(img, wc.x, wc.y, 9.5, dark_wood);
    fill_circle(img, wc.x, wc.y, 8.2, sphere(light_wood, wc.x, wc.y, 9.5, 0.2));
    fill_circle(img, wc.x, wc.y, 6.3, Rgb{58, 34, 18});
    for (int i = 0; i < 6; ++i) {
        const double a = i * std::numbers::pi / 3 + 0.25;
        rod(img, wc, {wc.x + std::cos(a) * 6.6, wc.y + std::sin(a) * 6.6}, 2.0, light_wood, 0.2);
    }
    fill_circle(img, wc.x, wc.y, 2.6, sphere(Rgb{170, 170, 180}, wc.x, wc.y, 2.6));
    ink_edges(img, 0.45);
    return img;
}

Image make_ball() {
    Image img(20, 20);
    fill_circle(img, 10, 10, 9.3, sphere(Rgb{78, 82, 96}, 10, 10, 9.3, 0.9));
    ink_edges(img, 0.5);
    return img;
}

Image make_pig() {
    Image img(20, 20);
    const Rgb pink{250, 165, 185}, dark_pink{225, 110, 140};
    // ears
    fill_polygon(img, {{2.5, 9}, {3.5, 1.5}, {9, 5}}, dark_pink);
    fill_polygon(img, {{17.5, 9}, {16.5, 1.5}, {11, 5}}, dark_pink);
    // head
    fill_ellipse(img, 10, 11.5, 8.5, 7.6, sphere(pink, 10, 11.5, 9.5, 0.3));
    // snout with nostrils
    fill_ellipse(img, 10, 14.2, 4.6, 3.3, Rgb{196, 86, 118});
    fill_ellipse(img, 10, 14, 3.8, 2.6, sphere(Rgb{236, 120, 152}, 9.5, 13.5, 4.2, 0.3));
    for (int nx : {8, 11}) {
        img.set(nx, 14, Rgb{110, 30, 55});
        img.set(nx, 15, Rgb{140, 50, 75});
    }
    // eyes with a glint
    for (int ex : {6, 13}) {
        img.set(ex, 9, Rgb{25, 20, 25});
        img.set(ex, 10, Rgb{25, 20, 25});
        img.set(ex + 1, 9, Rgb{255, 255, 255});
        img.set(ex + 1, 10, Rgb{25, 20, 25});
    }
    // rosy cheeks
    img.set(4, 13, Rgb{245, 120, 150});
    img.set(15, 13, Rgb{245, 120, 150});
    ink_edges(img, 0.5);
    return img;
}

Image make_cow() {
    Image img(40, 40);
    const Rgb horn{245, 230, 190}, hide{250, 250, 245}, patch{35, 32, 34}, muzzle{250, 175, 180};
    // horns
    rod(img, {13, 9}, {7, 4.5}, 4, horn, 0.3);
    rod(img, {27, 9}, {33, 4.5}, 4, horn, 0.3);
    // ears
    const auto ear = [&](double cx, double tilt) {
        fill_ellipse(img, cx, 15 + tilt, 6, 3.2, patch);
        fill_ellipse(img, cx + (cx < 20 ? 0.5 : -0.5), 15 + tilt, 3.6, 1.6, Rgb{230, 140, 150});
    };
    ear(6, 0);
    ear(34, 0);
    // head with patches
    const double hx = 20, hy = 19, hrx = 12.5, hry = 14;
    fill_ellipse(img, hx, hy, hrx, hry, [&](double x, double y) {
        const bool spot = std::hypot(x - 13, y - 11) < 6.5 || std::hypot(x - 28, y - 22) < 5 || std::hypot(x - 31, y - 12) < 3.5;
        const Rgb base = spot ? patch : hide;
        return shade(base, ((x - hx) + (y - hy)) / (hrx + hry) * -0.18);
    });
    // muzzle with nostrils
    fill_ellipse(img, 20, 29.5, 10, 7, sphere(muzzle, 18, 28, 11, 0.35));
    fill_ellipse(img, 16.5, 29.5, 1.6, 2.2, Rgb{130, 60, 70});
    fill_ellipse(img, 23.5, 29.5, 1.6, 2.2, Rgb{130, 60, 70});
    // mouth line
    for (int x = 17; x <= 23; ++x) img.set(x, 34, Rgb{190, 100, 110});
    // eyes
    for (double ex : {14.5, 25.5}) {
        fill_ellipse(img, ex, 18.5, 2.1, 2.8, Rgb{20, 15, 20});
        img.set(static_cast<int>(ex) - 1, 17, Rgb{255, 255, 255});
    }
    // tuft between the horns
    fill_circle(img, 18, 6.5, 2.3, Rgb{40, 36, 38});
    fill_circle(img, 21.5, 6, 2.5, Rgb{40, 36, 38});
    ink_edges(img, 0.55);
    return img;
}

Image make_sheep() {
    Image img(30, 30);
    const Rgb wool{250, 250, 244}, face{58, 52, 56};
    // fluffy wool: a ring of puffs around the body
    const std::array<std::array<double, 3>, 10> puffs{{{15, 15, 10}, {7, 9, 5}, {15, 5.5, 5}, {23, 9, 5}, {25, 17, 5},
                                                        {21, 24, 5}, {9, 24, 5}, {5, 17, 5}, {15, 25.5, 4}, {11, 6, 4}}};
    for (const auto& p : puffs) fill_circle(img, p[0], p[1], p[2], Rgb{200, 200, 196});
    for (const auto& p : puffs) fill_circle(img, p[0] - 0.6, p[1] - 0.6, p[2] - 0.8, sphere(wool, p[0] - 0.6, p[1] - 0.6, p[2], 0.2));
    // ears
    fill_ellipse(img, 8, 14, 3.5, 1.8, face);
    fill_ellipse(img, 22, 14, 3.5, 1.8, face);
    // face
    fill_ellipse(img, 15, 17.5, 5, 7, [&](double x, double y) { return shade(face, -((x - 13) + (y - 15)) / 40); });
    // wool fringe on the forehead
    for (double fx : {12.0, 15.0, 18.0}) fill_circle(img, fx, 11, 2.4, sphere(wool, fx, 11, 2.4, 0.2));
    // eyes and nose
    for (int ex : {12, 17}) {
        img.set(ex, 15, Rgb{255, 255, 255});
        img.set(ex + 1, 15, Rgb{255, 255, 255});
        img.set(ex + 1, 16, Rgb{10, 10, 12});
        img.set(ex, 16, Rgb{255, 255, 255});
    }
    img.set(14, 21, Rgb{200, 130, 140});
    img.set(15, 21, Rgb{200, 130, 140});
    img.set(14, 22, Rgb{30, 25, 28});
    img.set(15, 22, Rgb{30, 25, 28});
    ink_edges(img, 0.45);
    return img;
}

// ---------------------------------------------------------------------------
// The game's icon: the cannon firing a pig over a farmyard hill, on a rounded badge
// ---------------------------------------------------------------------------

// Drawn on a 64-unit square scaled to size pixels, so every icon size shares one drawing.
Image make_icon(int size) {
    Image img(size, size);
    const double k = size / 64.0;
    const auto sky = vertical_gradient(Rgb{96, 170, 236}, Rgb{200, 232, 252}, 3 * k, 50 * k);
    fill_round_rect(img, 1 * k, 1 * k, 62 * k, 62 * k, 13 * k, Rgb{74, 44, 22});  // rim
    fill_round_rect(img, 4 * k, 4 * k, 56 * k, 56 * k, 10 * k, sky);
    // the hill, inside the badge
    paint(img, 4 * k, 4 * k, 60 * k, 60 * k, [&](double x, double y) {
        return in_round_rect(x, y, 4 * k, 4 * k, 56 * k, 56 * k, 10 * k) && y > (44 + 5 * std::sin(x / k * 0.07 + 0.6)) * k;
    }, vertical_gradient(Rgb{126, 204, 76}, Rgb{52, 128, 40}, 40 * k, 60 * k));
    // the cannon: a barrel aimed up and to the right on a wooden wheel
    const Pt breech{17 * k, 46 * k}, muzzle{33 * k, 30 * k};
    rod(img, breech, muzzle, 11 * k, Rgb{84, 90, 106}, 0.45);
    fill_circle(img, muzzle.x, muzzle.y, 4.2 * k, Rgb{22, 22, 28});
    const Pt wheel{19 * k, 49 * k};
    fill_circle(img, wheel.x, wheel.y, 8 * k, Rgb{74, 44, 22});
    fill_circle(img, wheel.x, wheel.y, 6.5 * k, sphere(Rgb{186, 128, 70}, wheel.x, wheel.y, 8 * k, 0.2));
    fill_circle(img, wheel.x, wheel.y, 2.2 * k, sphere(Rgb{170, 170, 180}, wheel.x, wheel.y, 2.2 * k));
    // the pig in flight, with a puff of smoke behind it
    fill_circle(img, 37 * k, 26 * k, 4 * k, Rgb{245, 245, 240});
    fill_circle(img, 41 * k, 23 * k, 3 * k, Rgb{235, 235, 230});
    const Pt pig{47 * k, 16 * k};
    const Rgb pink{250, 165, 185}, dark_pink{225, 110, 140};
    fill_polygon(img, {{pig.x - 9 * k, pig.y - 2 * k}, {pig.x - 8 * k, pig.y - 11 * k}, {pig.x - 2 * k, pig.y - 7 * k}}, dark_pink);
    fill_polygon(img, {{pig.x + 9 * k, pig.y - 2 * k}, {pig.x + 8 * k, pig.y - 11 * k}, {pig.x + 2 * k, pig.y - 7 * k}}, dark_pink);
    fill_ellipse(img, pig.x, pig.y, 10 * k, 9 * k, sphere(pink, pig.x - 2 * k, pig.y - 2 * k, 11 * k, 0.3));
    fill_ellipse(img, pig.x, pig.y + 3 * k, 5 * k, 3.6 * k, Rgb{214, 96, 128});
    for (double side : {-1.0, 1.0}) {
        fill_ellipse(img, pig.x + side * 1.8 * k, pig.y + 3 * k, 1.1 * k, 1.5 * k, Rgb{110, 30, 55});
        fill_circle(img, pig.x + side * 4.5 * k, pig.y - 3 * k, 1.6 * k, Rgb{25, 20, 25});
    }
    return img;
}

// The icon for the desktop: drawn at four times the size, then each 4 x 4 block becomes one
// pixel whose opacity is the share of the block drawn (soft edges instead of the game's hard ones).
void write_icon_png(int size, const std::filesystem::path& path) {
    constexpr int kSamples = 4;
    const Image big = make_icon(size * kSamples);
    std::vector<unsigned char> rgba;
    rgba.reserve(static_cast<std::size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const int bx = x * kSamples + sx, by = y * kSamples + sy;
                    if (big.keyed(bx, by)) continue;
                    const Rgb c = big.get(bx, by);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    ++n;
                }
            const int d = std::max(n, 1);
            rgba.insert(rgba.end(), {static_cast<unsigned char>(r / d), static_cast<unsigned char>(g / d), static_cast<unsigned char>(b / d),
                                     static_cast<unsigned char>(n * 255 / (kSamples * kSamples))});
        }
    std::filesystem::create_directories(path.parent_path());
    if (!WritePngFile(path.string(), size, size, 4, rgba, "make_artwork")) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::filesystem::path dir = argc > 1 ? argv[1] : "bmp";
        const std::filesystem::path icon_dir = argc > 2 ? argv[2] : "desktop/icons";
        std::filesystem::create_directories(dir);
        const auto save = [&](const Image& img, std::initializer_list<const char*> names) {
            for (const char* name : names) write_bmp(img, dir / name);
        };
        save(make_background(), {"background.bmp"});
        save(make_tileset(), {"blocktileset.bmp"});
        save(make_top_bar(), {"top_bar.bmp"});
        save(make_bot_bar(), {"bot_bar.bmp"});
        save(crosshair(64), {"target1.bmp", "Target1.bmp"});
        save(crosshair(16), {"target2.bmp", "Target2.bmp"});
        save(cake(50), {"cake.bmp"});
        save(make_start_button(), {"Start.bmp"});
        save(make_end_picture(), {"END.bmp"});
        save(make_cannon(), {"p1cannon.bmp"});
        save(make_ball(), {"bullet.bmp"});
        save(make_pig(), {"pig.bmp"});
        save(make_cow(), {"vaca.bmp"});
        save(make_sheep(), {"ovelha.bmp"});
        save(make_icon(64), {"icon.bmp"});
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            const std::string folder = std::to_string(size) + "x" + std::to_string(size);
            write_icon_png(size, icon_dir / folder / "apps" / "farmyard-cannon.png");
        }
        std::cout << "artwork written to " << dir.string() << ", icons to " << icon_dir.string() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "make_artwork: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
