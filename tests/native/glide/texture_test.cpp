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

namespace {

// A smooth texture, so a texel more or less at a boundary changes little.
struct SmoothTexture {
    FxU16 texels[128 * 128];
    GuTexPalette palette;
};

TEST_F(DeviceTest, TintedSpritesMatchTheFormulaAcrossRotatedGradients) {
    static SmoothTexture tex;
    for (int v = 0; v < 128; ++v)
        for (int u = 0; u < 128; ++u)
            tex.texels[v * 128 + u] = static_cast<FxU16>((255 - 2 * v) << 8 | (2 * u));
    for (int i = 0; i < 256; ++i)
        tex.palette.data[i] = static_cast<FxU32>(i << 16 | (255 - i) << 8 | 200);
    GrTexInfo info{GR_LOD_128, GR_LOD_128, GR_ASPECT_1x1, GR_TEXFMT_AP_88, tex.texels};
    grTexDownloadMipMap(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
    grTexDownloadTable(GR_TMU0, GR_TEXTABLE_PALETTE, &tex.palette);
    grTexSource(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
    grTexCombine(GR_TMU0, GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_FUNCTION_LOCAL,
                 GR_COMBINE_FACTOR_NONE, FXFALSE, FXFALSE);
    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_LOCAL, GR_COMBINE_LOCAL_ITERATED,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    grAlphaCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
    grDitherMode(GR_DITHER_DISABLE);

    // Corners: position, colour, s and t. The edges are not axis-aligned, so
    // both texture coordinates and the tint change along every row.
    const float corner[3][7] = {
        {13, 9, 255, 40, 0, 0, 0}, {301, 47, 0, 255, 60, 256, 0}, {57, 203, 90, 0, 255, 0, 256}};
    GrVertex v[3];
    for (int i = 0; i < 3; ++i) {
        v[i] = makeVertex(corner[i][0], corner[i][1], corner[i][2], corner[i][3], corner[i][4]);
        v[i].tmuvtx[0].sow = corner[i][5];
        v[i].tmuvtx[0].tow = corner[i][6];
    }
    grDrawTriangle(&v[0], &v[1], &v[2]);

    double x0 = corner[0][0], y0 = corner[0][1];
    double e1x = corner[1][0] - x0, e1y = corner[1][1] - y0, e2x = corner[2][0] - x0, e2y = corner[2][1] - y0;
    double det = e1x * e2y - e2x * e1y;
    int checked = 0;
    for (int y = 10; y < 200; y += 7)
        for (int x = 14; x < 300; x += 3) {
            double px = x + 0.5 - x0, py = y + 0.5 - y0;
            double b1 = (px * e2y - py * e2x) / det, b2 = (py * e1x - px * e1y) / det, b0 = 1 - b1 - b2;
            if (b0 < 0.02 || b1 < 0.02 || b2 < 0.02) continue; // away from the edges
            auto at = [&](int k) { return b0 * corner[0][k] + b1 * corner[1][k] + b2 * corner[2][k]; };
            int u = static_cast<int>(at(5) / 2), t = static_cast<int>(at(6) / 2);
            int index = 2 * u, alpha = 255 - 2 * t;
            int texel[3] = {index, 255 - index, 200};
            int expected[3];
            for (int k = 0; k < 3; ++k) {
                int tinted = (texel[k] * static_cast<int>(at(2 + k)) + 127) / 255;
                expected[k] = (tinted * alpha + 127) / 255;
            }
            Rgb got = readRgb(x, y);
            ASSERT_NEAR(got.r, expected[0], 12) << x << "," << y;
            ASSERT_NEAR(got.g, expected[1], 8) << x << "," << y;
            ASSERT_NEAR(got.b, expected[2], 12) << x << "," << y;
            ++checked;
        }
    EXPECT_GT(checked, 500);
}

} // namespace
