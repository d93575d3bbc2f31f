// Sampling P_8 and AP_88 textures, palette switches, coordinate range and
// arguments the device must refuse without harm.
#include "tests/native/glide/device_fixture.h"

#include <vector>

namespace {

// A palette whose entry i is a colour that survives 565 exactly and encodes i.
GuTexPalette indexPalette(int salt) {
    GuTexPalette p;
    for (int i = 0; i < 256; ++i) {
        int code = (i + salt) & 255;
        p.data[i] = static_cast<FxU32>(exact5(code & 31) << 16 | exact6(code >> 5) << 8);
    }
    return p;
}

int decodeIndex(std::uint16_t pixel, int salt) {
    return (((pixel >> 11) | (((pixel >> 5) & 63) << 5)) - salt) & 255;
}

void useTextureOpaque() {
    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ONE, GR_BLEND_ZERO);
    grTexCombine(GR_TMU0, GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_FUNCTION_LOCAL,
                 GR_COMBINE_FACTOR_NONE, FXFALSE, FXFALSE);
}

GrTexInfo squareTexture(GrLOD_t lod, GrTextureFormat_t format, void *data) {
    return GrTexInfo{lod, lod, GR_ASPECT_1x1, format, data};
}

void select(FxU32 address, GrTexInfo &info, const GuTexPalette &palette) {
    grTexDownloadTable(GR_TMU0, GR_TEXTABLE_PALETTE, const_cast<GuTexPalette *>(&palette));
    grTexSource(GR_TMU0, address, GR_MIPMAPLEVELMASK_BOTH, &info);
}

TEST_F(DeviceTest, CoordinatesRunZeroTo256AcrossTheTextureWhateverItsSize) {
    useTextureOpaque();
    GuTexPalette palette = indexPalette(0);
    struct {
        GrLOD_t lod;
        int size;
    } cases[] = {{GR_LOD_256, 256}, {GR_LOD_128, 128}};
    for (auto c : cases) {
        // Texel (u, v) holds index u in row 0 and index v in column 0.
        std::vector<std::uint8_t> texels(c.size * c.size);
        for (int v = 0; v < c.size; ++v)
            for (int u = 0; u < c.size; ++u)
                texels[v * c.size + u] = static_cast<std::uint8_t>(v == 0 ? u : v);
        GrTexInfo info = squareTexture(c.lod, GR_TEXFMT_P_8, texels.data());
        grTexDownloadMipMap(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
        select(0, info, palette);
        drawRect(100, 100, 356, 356, Rgb{0, 0, 0});
        for (int k = 0; k < 256; ++k) {
            int expected = (2 * k + 1) * c.size / 512; // texel under the pixel centre
            ASSERT_EQ(decodeIndex(readPixel(GR_BUFFER_BACKBUFFER, 100 + k, 100), 0), expected)
                << c.size << " u " << k;
            if (k > 0) {
                ASSERT_EQ(decodeIndex(readPixel(GR_BUFFER_BACKBUFFER, 100, 100 + k), 0), expected)
                    << c.size << " v " << k;
            }
        }
    }
}

TEST_F(DeviceTest, CoordinatesOutsideTheTextureClampToItsEdges) {
    useTextureOpaque();
    GuTexPalette palette = indexPalette(0);
    std::uint8_t texels[64];
    for (int i = 0; i < 64; ++i)
        texels[i] = static_cast<std::uint8_t>(i % 8 + 10);
    GrTexInfo info = smallTexture(GR_TEXFMT_P_8, texels);
    grTexDownloadMipMap(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
    select(0, info, palette);
    GrVertex v[3] = {makeVertex(0, 0), makeVertex(64, 0), makeVertex(0, 64)};
    v[0].tmuvtx[0].sow = -512;
    v[1].tmuvtx[0].sow = 1024;
    v[2].tmuvtx[0].sow = -512;
    grDrawTriangle(&v[0], &v[1], &v[2]);
    EXPECT_EQ(decodeIndex(readPixel(GR_BUFFER_BACKBUFFER, 1, 1), 0), 10);
    EXPECT_EQ(decodeIndex(readPixel(GR_BUFFER_BACKBUFFER, 60, 1), 0), 17);
}

TEST_F(DeviceTest, OnlyThePaletteCurrentAtDrawTimeCounts) {
    // Two textures as the saver keeps them: P_8 and AP_88, switched with
    // their palettes between draws; a palette reused later must still apply.
    useTextureOpaque();
    std::uint8_t p8[64];
    FxU16 ap88[64];
    for (int i = 0; i < 64; ++i) {
        p8[i] = static_cast<std::uint8_t>(40 + i);
        ap88[i] = static_cast<FxU16>(0xFF00 | (100 + i));
    }
    GrTexInfo p8Info = smallTexture(GR_TEXFMT_P_8, p8), apInfo = smallTexture(GR_TEXFMT_AP_88, ap88);
    FxU32 apAddress = grTexTextureMemRequired(GR_MIPMAPLEVELMASK_BOTH, &p8Info);
    grTexDownloadMipMap(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &p8Info);
    grTexDownloadMipMap(GR_TMU0, apAddress, GR_MIPMAPLEVELMASK_BOTH, &apInfo);
    GuTexPalette first = indexPalette(0), second = indexPalette(77);

    struct Draw {
        FxU32 address;
        GrTexInfo *info;
        const GuTexPalette *palette;
        int salt;
        int base;
    } draws[] = {{0, &p8Info, &first, 0, 40},
                 {0, &p8Info, &second, 77, 40},
                 {apAddress, &apInfo, &second, 77, 100},
                 {apAddress, &apInfo, &first, 0, 100},
                 {0, &p8Info, &first, 0, 40}};
    int x = 0;
    for (const Draw &d : draws) {
        select(d.address, *d.info, *d.palette);
        drawRect(static_cast<float>(x), 0, static_cast<float>(x + 8), 8, Rgb{0, 0, 0});
        x += 8;
    }
    // A palette download alone also changes what the next draw shows.
    grTexDownloadTable(GR_TMU0, GR_TEXTABLE_PALETTE, &second);
    drawRect(static_cast<float>(x), 0, static_cast<float>(x + 8), 8, Rgb{0, 0, 0});
    EXPECT_EQ(decodeIndex(readPixel(GR_BUFFER_BACKBUFFER, x + 2, 1), 0), (40 + 8 + 2 + 77) & 255);
    x = 0;
    for (const Draw &d : draws) {
        for (int t = 0; t < 8; t += 3)
            for (int s = 0; s < 8; s += 3)
                EXPECT_EQ(decodeIndex(readPixel(GR_BUFFER_BACKBUFFER, x + s, t), 0),
                          (d.base + t * 8 + s + d.salt) & 255)
                    << "draw at x " << x;
        x += 8;
    }
}

TEST_F(DeviceTest, Ap88TexelsCarryAlphaInTheHighByte) {
    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    grAlphaCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    grTexCombine(GR_TMU0, GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_FUNCTION_LOCAL,
                 GR_COMBINE_FACTOR_NONE, FXFALSE, FXFALSE);
    grDitherMode(GR_DITHER_DISABLE);
    FxU16 texels[64];
    for (int i = 0; i < 64; ++i)
        texels[i] = static_cast<FxU16>((i < 32 ? 0x40 : 0xFF) << 8 | 3);
    GrTexInfo info = smallTexture(GR_TEXFMT_AP_88, texels);
    GuTexPalette palette = {};
    palette.data[3] = 0x00FFFFFF;
    grTexDownloadMipMap(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
    select(0, info, palette);
    grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
    drawRect(0, 0, 64, 64, Rgb{0, 0, 0});
    EXPECT_NEAR_RGB(readRgb(10, 10), 64, 64, 64);    // upper half, alpha 0x40
    EXPECT_NEAR_RGB(readRgb(10, 50), 255, 255, 255); // lower half, alpha 0xFF
}

TEST_F(DeviceTest, MemoryRequirementsAndAddresses) {
    GrTexInfo logo = squareTexture(GR_LOD_256, GR_TEXFMT_P_8, nullptr);
    GrTexInfo flare = squareTexture(GR_LOD_128, GR_TEXFMT_AP_88, nullptr);
    GrTexInfo tiny = squareTexture(GR_LOD_256 + 8, GR_TEXFMT_P_8, nullptr);
    EXPECT_EQ(grTexMinAddress(GR_TMU0), 0u);
    EXPECT_EQ(grTexTextureMemRequired(GR_MIPMAPLEVELMASK_BOTH, &logo), 65536u);
    EXPECT_EQ(grTexTextureMemRequired(GR_MIPMAPLEVELMASK_BOTH, &flare), 32768u);
    EXPECT_EQ(grTexTextureMemRequired(GR_MIPMAPLEVELMASK_BOTH, &tiny), 8u); // one texel, rounded up to 8
    EXPECT_GE(grTexMaxAddress(GR_TMU0), 2u * 1024 * 1024 - 65536);
}

TEST_F(DeviceTest, UnsupportedTextureArgumentsAreIgnored) {
    useTextureOpaque();
    GuTexPalette palette = indexPalette(0);
    std::uint8_t good[64], bad[256 * 256];
    for (std::uint8_t &t : good)
        t = 5;
    for (std::uint8_t &t : bad)
        t = 9;
    GrTexInfo info = smallTexture(GR_TEXFMT_P_8, good);
    grTexDownloadMipMap(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
    select(0, info, palette);

    GrTexInfo wrongFormat = smallTexture(3, bad);
    GrTexInfo wrongAspect{LOD_8, LOD_8, 0, GR_TEXFMT_P_8, bad};
    GrTexInfo wrongLod = squareTexture(9, GR_TEXFMT_P_8, bad);
    GrTexInfo mipmapped{GR_LOD_128, GR_LOD_256, GR_ASPECT_1x1, GR_TEXFMT_P_8, bad};
    GrTexInfo big = squareTexture(GR_LOD_256, GR_TEXFMT_P_8, bad);
    GrTexInfo noData = smallTexture(GR_TEXFMT_P_8, nullptr);
    struct {
        GrChipID_t tmu;
        FxU32 address;
        GrTexInfo *info;
    } refused[] = {
        {GR_TMU0, 0, &wrongFormat},   {GR_TMU0, 0, &wrongAspect}, {GR_TMU0, 0, &wrongLod},
        {GR_TMU0, 0, &mipmapped},     {GR_TMU1, 0, &info},        {GR_TMU0, 2u * 1024 * 1024 - 100, &big},
        {GR_TMU0, 0xFFFFFFF0u, &big}, {GR_TMU0, 0, &noData},      {GR_TMU0, 0, nullptr}};
    for (auto r : refused) {
        grTexDownloadMipMap(r.tmu, r.address, GR_MIPMAPLEVELMASK_BOTH, r.info);
        grTexSource(r.tmu, r.address, GR_MIPMAPLEVELMASK_BOTH, r.info);
    }
    grTexDownloadTable(GR_TMU0, 1, &bad);
    grTexDownloadTable(GR_TMU0, GR_TEXTABLE_PALETTE, nullptr);
    drawRect(0, 0, 8, 8, Rgb{0, 0, 0});
    EXPECT_EQ(decodeIndex(readPixel(GR_BUFFER_BACKBUFFER, 3, 3), 0), 5);
}

} // namespace
