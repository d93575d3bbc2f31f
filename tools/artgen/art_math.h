// Deterministic numbers for the art generator: the committed bitmaps must come
// out byte for byte the same on every run, so nothing here calls the C
// library's random generator or its transcendental functions.
#pragma once

#include <cstdint>

struct ArtRandom {
    uint64_t state;
};

uint64_t nextRandom(ArtRandom &random);
// Uniform in [0, 1).
double randomUnit(ArtRandom &random);
// Uniform in [low, high).
double randomRange(ArtRandom &random, double low, double high);

// Smooth value noise in [0, 1), one lattice cell per unit.
double valueNoise(double x, double y, uint32_t seed);
// Sum of octaves of value noise, normalised back to [0, 1).
double fractalNoise(double x, double y, int octaves, uint32_t seed);

double artSin(double x);
double artCos(double x);
double artExp(double x);

double clampUnit(double x);
double smoothStep(double edge0, double edge1, double x);
double mix(double a, double b, double t);

constexpr double ART_PI = 3.14159265358979323846;
