// Deterministic randomness and noise, so every run of the artwork tool draws the same pixels.
#pragma once

#include <cstdint>

// splitmix64: a small generator whose sequence is fixed by its seed.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state(seed) {}

    std::uint64_t Next();
    double Uniform(double lo, double hi);
    int Below(int n);

private:
    std::uint64_t state;
};

// A value in [0, 1) fixed by the lattice point and the seed.
double Hash01(int x, int y, std::uint32_t seed);
// Smoothly interpolated lattice noise in [0, 1).
double ValueNoise(double x, double y, std::uint32_t seed);
// Fractal noise in [0, 1): octaves of value noise, each twice as fine and half as strong.
double Fbm(double x, double y, std::uint32_t seed, int octaves = 3);
