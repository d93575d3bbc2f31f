// Choosing a small palette for a true-colour picture.
#pragma once

#include "tools/artgen/bitmap8.h"

#include <cstdint>
#include <vector>

// Picks `count` colours that represent the given pixels (0xRRGGBB) well:
// median cut, then a few rounds of k-means. Deterministic for a given input.
std::vector<PaletteColor> fitPalette(const std::vector<uint32_t> &pixels, int count);

// Index of the entry in [first, last] nearest to the colour (lowest index on ties).
int nearestEntry(const PaletteColor *palette, int first, int last, uint32_t color);
