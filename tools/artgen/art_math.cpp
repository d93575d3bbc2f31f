#include "tools/artgen/art_math.h"

#include <cmath>

uint64_t nextRandom(ArtRandom &random) {
    // splitmix64: tiny, well mixed and identical everywhere.
    uint64_t z = (random.state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double randomUnit(ArtRandom &random) {
    return static_cast<double>(nextRandom(random) >> 11) * 0x1.0p-53;
}

double randomRange(ArtRandom &random, double low, double high) {
    return low + (high - low) * randomUnit(random);
}

static double latticeValue(int64_t x, int64_t y, uint32_t seed) {
    ArtRandom hash{static_cast<uint64_t>(x) * 0x8CB92BA72F3D8DD7ull ^
                   static_cast<uint64_t>(y) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(seed) << 32};
    return randomUnit(hash);
}

double valueNoise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int64_t ix = static_cast<int64_t>(fx);
    const int64_t iy = static_cast<int64_t>(fy);
    const double tx = smoothStep(0.0, 1.0, x - fx);
    const double ty = smoothStep(0.0, 1.0, y - fy);
    const double top = mix(latticeValue(ix, iy, seed), latticeValue(ix + 1, iy, seed), tx);
    const double bottom = mix(latticeValue(ix, iy + 1, seed), latticeValue(ix + 1, iy + 1, seed), tx);
    return mix(top, bottom, ty);
}

double fractalNoise(double x, double y, int octaves, uint32_t seed) {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += weight * valueNoise(x, y, seed + static_cast<uint32_t>(octave) * 7919u);
        total += weight;
        weight *= 0.5;
        x *= 2.0;
        y *= 2.0;
    }
    return sum / total;
}

double artSin(double x) {
    // Reduce to [-pi, pi], then a Taylor series long enough for double precision.
    x -= 2.0 * ART_PI * std::floor(x / (2.0 * ART_PI) + 0.5);
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n < 12; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double artCos(double x) {
    return artSin(x + 0.5 * ART_PI);
}

double artExp(double x) {
    // Halve until small, sum the series, square back up.
    int halvings = 0;
    while (x > 0.5 || x < -0.5) {
        x *= 0.5;
        ++halvings;
    }
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n < 16; ++n) {
        term *= x / n;
        sum += term;
    }
    while (halvings-- > 0)
        sum *= sum;
    return sum;
}

double clampUnit(double x) {
    return x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x);
}

double smoothStep(double edge0, double edge1, double x) {
    const double t = clampUnit((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

double mix(double a, double b, double t) {
    return a + (b - a) * t;
}
