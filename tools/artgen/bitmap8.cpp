#include "tools/artgen/bitmap8.h"

#include <cstdio>

Bitmap8 makeBitmap8(int width, int height) {
    Bitmap8 bitmap{};
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.assign(static_cast<size_t>(width) * height, 0);
    return bitmap;
}

static void put16(std::vector<uint8_t> &out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

static void put32(std::vector<uint8_t> &out, uint32_t value) {
    put16(out, value & 0xFFFFu);
    put16(out, value >> 16);
}

bool writeBitmap8File(const std::string &path, const Bitmap8 &bitmap) {
    const uint32_t headerBytes = 14 + 40 + 256 * 4;
    const uint32_t pixelBytes = static_cast<uint32_t>(bitmap.width * bitmap.height);
    std::vector<uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, headerBytes + pixelBytes);
    put32(out, 0);
    put32(out, headerBytes);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(bitmap.width));
    put32(out, static_cast<uint32_t>(bitmap.height));
    put16(out, 1);
    put16(out, 8);
    put32(out, 0); // BI_RGB
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dots per inch
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (const PaletteColor &color : bitmap.palette) {
        out.push_back(color.blue);
        out.push_back(color.green);
        out.push_back(color.red);
        out.push_back(0);
    }
    out.insert(out.end(), bitmap.pixels.begin(), bitmap.pixels.end());

    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}
