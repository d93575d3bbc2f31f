#include "tests/win32/display/bitmap_resource.h"

BitmapResource findBitmapResource(int id) {
    HRSRC found = FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (!found) return {nullptr, 0};
    HGLOBAL loaded = LoadResource(GetModuleHandleA(nullptr), found);
    return {static_cast<const std::uint8_t *>(LockResource(loaded)),
            SizeofResource(GetModuleHandleA(nullptr), found)};
}

std::uint32_t colourTableEntry(const BitmapResource &bitmap, int k) {
    const std::uint8_t *entry = bitmap.bytes + 40 + 4 * k;
    return std::uint32_t(entry[2]) << 16 | std::uint32_t(entry[1]) << 8 | entry[0];
}

const std::uint8_t *bitmapPixels(const BitmapResource &bitmap) {
    return bitmap.bytes + 1064;
}
