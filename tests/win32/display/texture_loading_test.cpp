// Texture loading from the program's bitmaps, seen through the recording
// Glide device.
#include "display/display.h"
#include "tests/support/glide_recorder.h"
#include "tests/win32/display/bitmap_resource.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const FxU32 TEXTURE_BASE = 0x40000;

std::vector<const GlideCall *> callsNamed(const char *name) {
    std::vector<const GlideCall *> found;
    for (const GlideCall &call : glideCalls)
        if (call.name == name) found.push_back(&call);
    return found;
}

std::uint16_t texel(const GlideCall &download, int j) {
    return std::uint16_t(download.data[2 * j] | download.data[2 * j + 1] << 8);
}

class TextureLoading : public ::testing::Test {
  protected:
    void SetUp() override {
        savedLogo = logoSlot;
        savedFlares[0] = flareSlots[0];
        savedFlares[1] = flareSlots[1];
        resetGlideRecorder();
        recorderTexMinAddress = TEXTURE_BASE;
    }
    void TearDown() override {
        logoSlot = savedLogo;
        flareSlots[0] = savedFlares[0];
        flareSlots[1] = savedFlares[1];
    }
    TextureSlot savedLogo;
    AlphaTextureSlot savedFlares[2];
};

TEST_F(TextureLoading, PlacesTheThreeTexturesOneAfterAnotherFromTheLowestAddress) {
    ASSERT_TRUE(loadTextures(GetModuleHandleA(nullptr)));

    std::vector<const GlideCall *> downloads = callsNamed("grTexDownloadMipMap");
    ASSERT_EQ(downloads.size(), 3u);
    const FxU32 expected[3] = {TEXTURE_BASE, TEXTURE_BASE + 65536, TEXTURE_BASE + 98304};
    const GrTexInfo *infos[3] = {&logoSlot.info, &flareSlots[0].info, &flareSlots[1].info};
    const FxU32 starts[3] = {logoSlot.startAddress, flareSlots[0].startAddress, flareSlots[1].startAddress};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(describeGlideCall(*downloads[i]),
                  "grTexDownloadMipMap(0, " + std::to_string(expected[i]) + ", 3)");
        EXPECT_EQ(downloads[i]->pointers[0], infos[i]);
        EXPECT_EQ(starts[i], expected[i]);
    }
    EXPECT_TRUE(callsNamed("grGlideShutdown").empty());
    // Palettes stay in the slots until a slot is drawn with.
    EXPECT_TRUE(callsNamed("grTexDownloadTable").empty());
}

TEST_F(TextureLoading, DownloadsTheLogoStraightFromItsResource) {
    BitmapResource logo = findBitmapResource(104);
    ASSERT_NE(logo.bytes, nullptr);
    ASSERT_TRUE(loadTextures(GetModuleHandleA(nullptr)));

    EXPECT_EQ(logoSlot.info.data, bitmapPixels(logo));
    const GlideCall &download = *callsNamed("grTexDownloadMipMap")[0];
    ASSERT_EQ(download.data.size(), 65536u);
    EXPECT_TRUE(std::equal(download.data.begin(), download.data.end(), bitmapPixels(logo)));
}

TEST_F(TextureLoading, BuildsEachPaletteFromItsColourBitmapsTable) {
    ASSERT_TRUE(loadTextures(GetModuleHandleA(nullptr)));

    struct Case {
        int bitmap;
        const GuTexPalette *palette;
    } cases[] = {{104, &logoSlot.palette}, {109, &flareSlots[0].palette}, {110, &flareSlots[1].palette}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bitmap);
        BitmapResource bitmap = findBitmapResource(c.bitmap);
        ASSERT_NE(bitmap.bytes, nullptr);
        int mismatches = 0;
        for (int k = 0; k < 256; ++k)
            mismatches += c.palette->data[k] != colourTableEntry(bitmap, k);
        EXPECT_EQ(mismatches, 0);
    }
}

TEST_F(TextureLoading, MergesEachFlareIntoAlphaHighAndIndexLowTexels) {
    ASSERT_TRUE(loadTextures(GetModuleHandleA(nullptr)));
    std::vector<const GlideCall *> downloads = callsNamed("grTexDownloadMipMap");
    ASSERT_EQ(downloads.size(), 3u);

    for (int flare = 0; flare < 2; ++flare) {
        SCOPED_TRACE(flare);
        const GlideCall &download = *downloads[1 + flare];
        ASSERT_EQ(download.data.size(), 32768u);
        BitmapResource colour = findBitmapResource(flareSlots[flare].colorResourceId);
        BitmapResource alpha = findBitmapResource(flareSlots[flare].alphaResourceId);
        ASSERT_NE(colour.bytes, nullptr);
        ASSERT_NE(alpha.bytes, nullptr);
        int mismatches = 0;
        for (int j = 0; j < 16384; ++j)
            mismatches += texel(download, j) != (bitmapPixels(alpha)[j] << 8 | bitmapPixels(colour)[j]);
        EXPECT_EQ(mismatches, 0);
        // The masks never reach 0: their corners hold 4.
        for (int corner : {0, 127, 16256, 16383})
            EXPECT_EQ(texel(download, corner) >> 8, 4) << "corner texel " << corner;
    }
}

TEST_F(TextureLoading, TakesRawMaskValuesAndIgnoresTheReservedTableByte) {
    flareSlots[0].colorResourceId = 201;
    flareSlots[0].alphaResourceId = 202;
    ASSERT_TRUE(loadTextures(GetModuleHandleA(nullptr)));

    for (int k : {0, 1, 128, 255})
        EXPECT_EQ(flareSlots[0].palette.data[k], 0x00302010u) << "entry " << k;
    const GlideCall &download = *callsNamed("grTexDownloadMipMap")[1];
    ASSERT_EQ(download.data.size(), 32768u);
    for (int j : {0, 1, 2, 16382, 16383})
        EXPECT_EQ(texel(download, j), j % 2 ? 0x0107 : 0xFF00) << "texel " << j;
}

TEST_F(TextureLoading, RefusesAResourceTooShortForItsTexture) {
    // The loader must stop before reading past a cut-off resource, shutting
    // Glide down like for a missing bitmap.
    struct Case {
        const char *what;
        FxI32 *field;
        size_t downloadsBefore;
    } cases[] = {
        {"logo cut in its colour table", &logoSlot.resourceId, 0},
        {"red flare mask cut in its pixels", &flareSlots[1].alphaResourceId, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        resetGlideRecorder();
        FxI32 saved = *c.field;
        *c.field = c.downloadsBefore ? 204 : 203;
        EXPECT_FALSE(loadTextures(GetModuleHandleA(nullptr)));
        *c.field = saved;
        EXPECT_EQ(callsNamed("grTexDownloadMipMap").size(), c.downloadsBefore);
        ASSERT_FALSE(glideCalls.empty());
        EXPECT_EQ(glideCalls.back().name, "grGlideShutdown");
        EXPECT_EQ(callsNamed("grGlideShutdown").size(), 1u);
    }
}

} // namespace
