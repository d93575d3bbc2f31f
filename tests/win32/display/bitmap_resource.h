// The bytes of a bitmap resource of the test program, read the plain way, to
// compare what the loader made of them.
#ifndef COMET_TESTS_BITMAP_RESOURCE_H
#define COMET_TESTS_BITMAP_RESOURCE_H

#include <cstdint>
#include <windows.h>

struct BitmapResource {
    const std::uint8_t *bytes;
    DWORD size;
};

BitmapResource findBitmapResource(int id);
// Palette entry k as the colour table gives it: blue, green, red, reserved.
std::uint32_t colourTableEntry(const BitmapResource &bitmap, int k);
const std::uint8_t *bitmapPixels(const BitmapResource &bitmap);

#endif
