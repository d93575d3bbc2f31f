#include "glide/pixel.h"

const std::uint8_t DITHER_MATRIX[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

std::uint16_t ditherRed[DITHER_LEVELS][256];
std::uint16_t ditherGreen[DITHER_LEVELS][256];
std::uint16_t ditherBlue[DITHER_LEVELS][256];
std::uint8_t expand5[32];
std::uint8_t expand6[64];

// c - (c >> 5) maps every widened 5-bit value v to exactly 8v (and 255 to 248),
// so a pixel read back and written again unchanged keeps its value at every
// dither level; the level adds d sixteenths of a step before truncation.
static int quantize5(int c, int d) {
    return ((c - (c >> 5)) * 2 + d) >> 4;
}
static int quantize6(int c, int d) {
    return ((c - (c >> 6)) * 4 + d) >> 4;
}

void initPixelTables() {
    for (int v = 0; v < 32; ++v)
        expand5[v] = static_cast<std::uint8_t>((v << 3) | (v >> 2));
    for (int v = 0; v < 64; ++v)
        expand6[v] = static_cast<std::uint8_t>((v << 2) | (v >> 4));
    for (int d = 0; d < DITHER_LEVELS; ++d) {
        for (int c = 0; c < 256; ++c) {
            ditherRed[d][c] = static_cast<std::uint16_t>(quantize5(c, d) << 11);
            ditherGreen[d][c] = static_cast<std::uint16_t>(quantize6(c, d) << 5);
            ditherBlue[d][c] = static_cast<std::uint16_t>(quantize5(c, d));
        }
    }
}
