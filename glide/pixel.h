// Per-fragment arithmetic shared by every drawing path, so the fast span
// loops and the general path give the same bits.
#ifndef COMET_GLIDE_PIXEL_H
#define COMET_GLIDE_PIXEL_H

#include <cstdint>

// x / 255 rounded to nearest, exact for 0 <= x <= 65535.
inline int div255(int x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

inline int mul255(int a, int b) {
    return div255(a * b);
}

const int DITHER_LEVELS = 16;
extern const std::uint8_t DITHER_MATRIX[4][4];

// 565 fields of an 8-bit channel with dither level d (0 = no dither), already
// shifted into place so a pixel is the OR of three lookups.
extern std::uint16_t ditherRed[DITHER_LEVELS][256];
extern std::uint16_t ditherGreen[DITHER_LEVELS][256];
extern std::uint16_t ditherBlue[DITHER_LEVELS][256];
// 565 fields widened back to 8 bits for blending.
extern std::uint8_t expand5[32];
extern std::uint8_t expand6[64];

void initPixelTables();

inline std::uint16_t packPixel(int r, int g, int b, int d) {
    return static_cast<std::uint16_t>(ditherRed[d][r] | ditherGreen[d][g] | ditherBlue[d][b]);
}

inline int pixelRed(std::uint16_t p) {
    return expand5[p >> 11];
}
inline int pixelGreen(std::uint16_t p) {
    return expand6[(p >> 5) & 63];
}
inline int pixelBlue(std::uint16_t p) {
    return expand5[p & 31];
}

#endif
