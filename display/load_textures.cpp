#include "display/display.h"

// Packed device-independent bitmap: 40-byte header, 256-entry colour table,
// then one byte per pixel.
const DWORD BITMAP_TABLE_OFFSET = 40;
const DWORD BITMAP_PIXEL_OFFSET = 1064;
const SIZE_T MERGE_BUFFER_BYTES = 131072;
const int FLARE_TEXELS = 128 * 128;

// The bitmap's bytes, or null when it cannot be found, loaded or locked, or
// when the resource is too short to hold the colour table and texelCount
// pixels (the loader would otherwise read past it).
static const unsigned char *lockBitmap(HINSTANCE instance, FxI32 resourceId, DWORD texelCount) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resourceId & 0xFFFF), MAKEINTRESOURCEA(2));
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded) return nullptr;
    const unsigned char *bytes = static_cast<const unsigned char *>(LockResource(loaded));
    if (!bytes) return nullptr;
    if (SizeofResource(instance, found) < BITMAP_PIXEL_OFFSET + texelCount) return nullptr;
    return bytes;
}

static void buildPalette(const unsigned char *bitmap, GuTexPalette *palette) {
    const unsigned char *table = bitmap + BITMAP_TABLE_OFFSET;
    for (int k = 0; k < 256; ++k) {
        FxU32 blue = table[4 * k], green = table[4 * k + 1], red = table[4 * k + 2];
        palette->data[k] = (red << 16) | (green << 8) | blue;
    }
}

static DWORD texelCount(const GrTexInfo &info) {
    DWORD side = 256u >> info.largeLod;
    return side * side;
}

static bool failLoading() {
    grGlideShutdown();
    return false;
}

bool loadTextures(HINSTANCE instance) {
    FxU32 nextTextureAddress = grTexMinAddress(GR_TMU0);

    const unsigned char *logo = lockBitmap(instance, logoSlot.resourceId, texelCount(logoSlot.info));
    if (!logo) return failLoading();
    // Straight from the resource: it stays mapped while the module is loaded.
    logoSlot.info.data = const_cast<unsigned char *>(logo + BITMAP_PIXEL_OFFSET);
    grTexDownloadMipMap(GR_TMU0, nextTextureAddress, GR_MIPMAPLEVELMASK_BOTH, &logoSlot.info);
    logoSlot.startAddress = nextTextureAddress;
    nextTextureAddress += grTexTextureMemRequired(GR_MIPMAPLEVELMASK_BOTH, &logoSlot.info);
    buildPalette(logo, &logoSlot.palette);

    unsigned char *mergeBuffer =
        static_cast<unsigned char *>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, MERGE_BUFFER_BYTES));
    if (!mergeBuffer) return failLoading();

    for (AlphaTextureSlot &slot : flareSlots) {
        const unsigned char *color = lockBitmap(instance, slot.colorResourceId, FLARE_TEXELS);
        if (!color) {
            GlobalFree(mergeBuffer);
            return failLoading();
        }
        buildPalette(color, &slot.palette);
        const unsigned char *alpha = lockBitmap(instance, slot.alphaResourceId, FLARE_TEXELS);
        if (!alpha) {
            GlobalFree(mergeBuffer);
            return failLoading();
        }
        // AP_88 little-endian: palette index in the low byte, alpha in the high.
        const unsigned char *colorPixels = color + BITMAP_PIXEL_OFFSET;
        const unsigned char *alphaPixels = alpha + BITMAP_PIXEL_OFFSET;
        for (int j = 0; j < FLARE_TEXELS; ++j) {
            mergeBuffer[2 * j] = colorPixels[j];
            mergeBuffer[2 * j + 1] = alphaPixels[j];
        }
        slot.info.data = mergeBuffer;
        grTexDownloadMipMap(GR_TMU0, nextTextureAddress, GR_MIPMAPLEVELMASK_BOTH, &slot.info);
        slot.startAddress = nextTextureAddress;
        nextTextureAddress += grTexTextureMemRequired(GR_MIPMAPLEVELMASK_BOTH, &slot.info);
        // Drawing never reads the texels again, and the buffer goes below.
        slot.info.data = nullptr;
    }

    GlobalFree(mergeBuffer);
    return true;
}
