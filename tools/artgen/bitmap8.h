// An 8-bit palette picture and its file form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PaletteColor {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

struct Bitmap8 {
    int width;
    int height;
    PaletteColor palette[256];
    // Upright rows: row 0 is the top of the picture as the 3-D display shows it.
    std::vector<uint8_t> pixels;
};

Bitmap8 makeBitmap8(int width, int height);

// Writes a BMP file whose pixel array holds the upright rows top row first.
// A bottom-up bitmap normally starts with its bottom row, so a viewer shows
// this file upside down, while the texture loader, which puts the first
// stored row at the top of the square, shows it upright.
bool writeBitmap8File(const std::string &path, const Bitmap8 &bitmap);
