// Clears, swaps, frame-buffer reads, the device mark and the device's life.
#include "tests/native/glide/device_fixture.h"

#include <algorithm>
#include <vector>

namespace {

const std::uint16_t RED = 0xF800, BLUE = 0x001F;

void clearTo(GrColor_t colour) {
    grBufferClear(colour, 0, 0);
}

TEST_F(DeviceTest, SwapsExchangeTheBuffers) {
    clearTo(0x00FF0000);
    EXPECT_EQ(readPixel(GR_BUFFER_FRONTBUFFER, 5, 5), 0); // drawing goes to the back buffer
    grBufferSwap(1);
    EXPECT_EQ(readPixel(GR_BUFFER_FRONTBUFFER, 5, 5), RED);
    EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, 5, 5), 0);
    clearTo(0x000000FF);
    EXPECT_EQ(readPixel(GR_BUFFER_FRONTBUFFER, 5, 5), RED);
    grBufferSwap(1);
    EXPECT_EQ(readPixel(GR_BUFFER_FRONTBUFFER, 5, 5), BLUE);
    EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, 5, 5), RED);
}

TEST_F(DeviceTest, RenderBufferFrontDrawsIntoTheShownBuffer) {
    grRenderBuffer(GR_BUFFER_FRONTBUFFER);
    clearTo(0x00FF0000);
    EXPECT_EQ(readPixel(GR_BUFFER_FRONTBUFFER, 5, 5), RED);
    EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, 5, 5), 0);
    grRenderBuffer(7); // ignored
    clearTo(0x000000FF);
    EXPECT_EQ(readPixel(GR_BUFFER_FRONTBUFFER, 5, 5), BLUE);
}

TEST_F(DeviceTest, ReadRegionCopiesRowsWithTheCallersStride) {
    clearTo(0x00FF0000);
    grClipWindow(2, 1, 4, 2);
    clearTo(0x000000FF);
    std::uint16_t out[3][5];
    for (auto &row : out)
        for (std::uint16_t &p : row)
            p = 0x1234;
    ASSERT_EQ(grLfbReadRegion(GR_BUFFER_BACKBUFFER, 1, 0, 4, 3, sizeof out[0], out), FXTRUE);
    const std::uint16_t expected[3][5] = {
        {RED, RED, RED, RED, 0x1234}, {RED, BLUE, BLUE, RED, 0x1234}, {RED, RED, RED, RED, 0x1234}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(out[y][x], expected[y][x]) << x << "," << y;
}

TEST_F(DeviceTest, ReadRegionRefusesWhatItCannotRead) {
    std::vector<std::uint16_t> out(640 * 480);
    struct {
        GrBuffer_t buffer;
        FxU32 x, y, w, h, stride;
    } cases[] = {{2, 0, 0, 1, 1, 2},
                 {-1, 0, 0, 1, 1, 2},
                 {GR_BUFFER_BACKBUFFER, 640, 0, 1, 1, 2},
                 {GR_BUFFER_BACKBUFFER, 0, 479, 1, 2, 2},
                 {GR_BUFFER_BACKBUFFER, 1, 0, 0xFFFFFFFFu, 1, 2},
                 {GR_BUFFER_BACKBUFFER, 0, 0, 4, 2, 6}};
    for (auto c : cases)
        EXPECT_EQ(grLfbReadRegion(c.buffer, c.x, c.y, c.w, c.h, c.stride, out.data()), FXFALSE)
            << c.buffer << " " << c.x << " " << c.y << " " << c.w << " " << c.h;
    EXPECT_EQ(grLfbReadRegion(GR_BUFFER_BACKBUFFER, 0, 0, 1, 1, 2, nullptr), FXFALSE);
    EXPECT_EQ(grLfbReadRegion(GR_BUFFER_FRONTBUFFER, 0, 0, 640, 480, 1280, out.data()), FXTRUE);
}

TEST_F(DeviceTest, StateAfterOpening) {
    // Gouraud colour, opaque, 4 x 4 dither, fog off, clip the whole screen.
    GrVertex a = makeVertex(0, 0, 100, 100, 100), b = makeVertex(640, 0, 100, 100, 100),
             c = makeVertex(0, 480, 100, 100, 100), d = makeVertex(640, 480, 100, 100, 100);
    for (GrVertex *v : {&a, &b, &c, &d})
        v->oow = 1.0f / 5000.0f;
    GrFog_t thick[GR_FOG_TABLE_SIZE];
    for (GrFog_t &f : thick)
        f = 255;
    grFogTable(thick);
    grFogColorValue(0x0000FF00);
    grDrawTriangle(&a, &b, &c);
    grDrawTriangle(&b, &d, &c);
    std::uint16_t block[4][4];
    ASSERT_EQ(grLfbReadRegion(GR_BUFFER_BACKBUFFER, 636, 476, 4, 4, 8, block), FXTRUE);
    int low = 31, high = 0;
    for (auto &row : block)
        for (std::uint16_t p : row) {
            low = std::min(low, p >> 11);
            high = std::max(high, p >> 11);
        }
    EXPECT_EQ(low, 12); // 100 is 12.2 steps of 5 bits: a few pixels round up
    EXPECT_EQ(high, 13);
    // The constant colour is white and the texture unit gives black.
    grColorCombine(GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_ITERATED, FXFALSE);
    drawRect(0, 0, 10, 10, Rgb{0, 0, 0});
    EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, 5, 5), 0xFFFF);
    std::uint8_t texels[64] = {};
    GrTexInfo info = smallTexture(GR_TEXFMT_P_8, texels);
    GuTexPalette palette;
    for (FxU32 &e : palette.data)
        e = 0x00FFFFFF;
    grTexDownloadMipMap(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
    grTexDownloadTable(GR_TMU0, GR_TEXTABLE_PALETTE, &palette);
    grTexSource(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    drawRect(0, 0, 10, 10, Rgb{0, 0, 0});
    EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, 5, 5), 0);
}

TEST_F(DeviceTest, UnsupportedStateArgumentsKeepTheStateBefore) {
    grDitherMode(GR_DITHER_DISABLE);
    grColorCombine(99, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT, GR_COMBINE_OTHER_ITERATED, FXFALSE);
    grColorCombine(GR_COMBINE_FUNCTION_LOCAL, 5, GR_COMBINE_LOCAL_CONSTANT, GR_COMBINE_OTHER_ITERATED,
                   FXFALSE);
    grAlphaBlendFunction(GR_BLEND_ONE, 3, GR_BLEND_ONE, GR_BLEND_ZERO);
    grDitherMode(9);
    grFogMode(7);
    grTexCombine(GR_TMU0, GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_FUNCTION_LOCAL,
                 GR_COMBINE_FACTOR_NONE, FXFALSE, FXFALSE);
    drawRect(0, 0, 8, 8, Rgb{exact5(9), exact6(9), exact5(9)});
    drawRect(0, 0, 8, 8, Rgb{exact5(9), exact6(9), exact5(9)});
    Rgb p = readRgb(3, 3);
    EXPECT_EQ(p.r, exact5(9)); // still Gouraud and opaque
    EXPECT_EQ(p.g, exact6(9));
}

TEST_F(DeviceTest, MarkIsShownButNeverLeftInTheBufferDrawnInto) {
    grGlideShamelessPlug(FXTRUE);
    clearTo(0);
    grBufferSwap(1);
    std::vector<std::uint16_t> shown(640 * 480), back(640 * 480);
    ASSERT_EQ(grLfbReadRegion(GR_BUFFER_FRONTBUFFER, 0, 0, 640, 480, 1280, shown.data()), FXTRUE);
    int marked = 0, markedInCorner = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (shown[y * 640 + x]) {
                ++marked;
                markedInCorner += x >= 560 && y >= 400;
            }
    EXPECT_GT(marked, 20);
    EXPECT_EQ(markedInCorner, marked);
    grBufferSwap(1);
    ASSERT_EQ(grLfbReadRegion(GR_BUFFER_BACKBUFFER, 0, 0, 640, 480, 1280, back.data()), FXTRUE);
    for (std::uint16_t p : back)
        ASSERT_EQ(p, 0) << "mark left in the back buffer";
}

TEST_F(DeviceTest, MarkIsTranslucent) {
    grGlideShamelessPlug(FXTRUE);
    clearTo(0x00FF0000);
    grBufferSwap(1);
    std::uint16_t corner[80][80];
    ASSERT_EQ(grLfbReadRegion(GR_BUFFER_FRONTBUFFER, 560, 400, 80, 80, sizeof corner[0], corner), FXTRUE);
    int tinted = 0;
    for (auto &row : corner)
        for (std::uint16_t p : row)
            if (p != RED) {
                ++tinted;
                EXPECT_GT(p >> 11, 8) << "the red below shows through";
            }
    EXPECT_GT(tinted, 20);
}

TEST(DeviceLife, CallsWithoutAnOpenDisplayAreHarmless) {
    grGlideShutdown();
    grGlideShutdown();
    GrVertex v = makeVertex(5, 5, 255, 255, 255);
    grDrawTriangle(&v, &v, &v);
    grDrawPoint(&v);
    grBufferClear(0xFFFFFFFF, 0, 0);
    grBufferSwap(1);
    std::uint16_t p;
    EXPECT_EQ(grLfbReadRegion(GR_BUFFER_FRONTBUFFER, 0, 0, 1, 1, 2, &p), FXFALSE);
    ASSERT_TRUE(openDevice());
    EXPECT_EQ(grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB,
                           GR_ORIGIN_UPPER_LEFT, 2, 0),
              FXFALSE)
        << "already open";
    EXPECT_EQ(readPixel(GR_BUFFER_FRONTBUFFER, 5, 5), 0);
    grGlideShutdown();
    EXPECT_EQ(grLfbReadRegion(GR_BUFFER_FRONTBUFFER, 0, 0, 1, 1, 2, &p), FXFALSE);
}

TEST(DeviceLife, OpenRefusesOtherModes) {
    grGlideInit();
    EXPECT_EQ(grSstWinOpen(0, 8, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB, GR_ORIGIN_UPPER_LEFT, 2, 0), FXFALSE);
    EXPECT_EQ(grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB, 1, 2, 0), FXFALSE);
    std::uint16_t p;
    EXPECT_EQ(grLfbReadRegion(GR_BUFFER_FRONTBUFFER, 0, 0, 1, 1, 2, &p), FXFALSE);
}

} // namespace
