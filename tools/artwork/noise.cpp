// Deterministic randomness and noise.
#include "artwork/noise.h"

#include <cmath>

std::uint64_t Rng::Next()
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double Rng::Uniform(double lo, double hi)
{
    return lo + (hi - lo) * static_cast<double>(Next() >> 11) / 9007199254740992.0;  // 53 bits over 2^53
}

int Rng::Below(int n)
{
    return static_cast<int>(Next() % static_cast<std::uint64_t>(n));
}

double Hash01(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393U +
                      static_cast<std::uint32_t>(y) * 668265263U + seed * 2246822519U;
    h = (h ^ (h >> 13)) * 1274126177U;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFFFFU) / 16777216.0;
}

double ValueNoise(double x, double y, std::uint32_t seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    double tx = x - fx;
    double ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const double a = Hash01(ix, iy, seed);
    const double b = Hash01(ix + 1, iy, seed);
    const double c = Hash01(ix, iy + 1, seed);
    const double d = Hash01(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

double Fbm(double x, double y, std::uint32_t seed, int octaves)
{
    double sum = 0;
    double amplitude = 0.5;
    double norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise(x, y, seed + static_cast<std::uint32_t>(i) * 101U);
        norm += amplitude;
        amplitude *= 0.5;
        x *= 2;
        y *= 2;
    }
    return sum / norm;
}
