// Combine, blend and dither on single pixels, through the triangle loops and
// through points (which take the per-fragment path).
#include "tests/native/glide/device_fixture.h"

#include <cctype>
#include <string>

namespace {

struct Combine {
    GrCombineFunction_t function;
    GrCombineFactor_t factor;
    GrCombineLocal_t local;
    GrCombineOther_t other;
    FxBool invert;
};

const Combine ITERATED{GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_LOCAL_ITERATED,
                       GR_COMBINE_OTHER_ITERATED, FXFALSE};
const Combine CONSTANT{GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_LOCAL_CONSTANT,
                       GR_COMBINE_OTHER_ITERATED, FXFALSE};
const Combine TEXTURE{GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                      GR_COMBINE_OTHER_TEXTURE, FXFALSE};
const Combine ITERATED_X_TEXTURE{GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_LOCAL,
                                 GR_COMBINE_LOCAL_ITERATED, GR_COMBINE_OTHER_TEXTURE, FXFALSE};
const Combine CONSTANT_X_TEXTURE{GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_LOCAL,
                                 GR_COMBINE_LOCAL_CONSTANT, GR_COMBINE_OTHER_TEXTURE, FXFALSE};
const Combine ITERATED_X_CONSTANT{GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_LOCAL,
                                  GR_COMBINE_LOCAL_ITERATED, GR_COMBINE_OTHER_CONSTANT, FXFALSE};
const Combine INVERTED_ITERATED{GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_LOCAL_ITERATED,
                                GR_COMBINE_OTHER_ITERATED, FXTRUE};
const Combine ZERO{GR_COMBINE_FUNCTION_ZERO, GR_COMBINE_FACTOR_NONE, GR_COMBINE_LOCAL_ITERATED,
                   GR_COMBINE_OTHER_ITERATED, FXFALSE};

struct PipelineCase {
    const char *name;
    Combine colour, alpha;
    GrAlphaBlendFnc_t src, dst;
    Rgb vertex;
    float vertexAlpha;
    GrColor_t constant;
    GrColor_t texel; // ARGB of the texture's one texel colour
    bool textureLocal;
    Rgb under;
    Rgb expected;
};

// Expected values follow out = min(255, src * srcFactor + dst * dstFactor)
// with products rounded to the nearest 1/255.
const PipelineCase CASES[] = {
    {"gouraud",
     ITERATED,
     ITERATED,
     GR_BLEND_ONE,
     GR_BLEND_ZERO,
     {200, 100, 50},
     255,
     0,
     0,
     true,
     {9, 9, 9},
     {200, 100, 50}},
    {"constant",
     CONSTANT,
     CONSTANT,
     GR_BLEND_ONE,
     GR_BLEND_ZERO,
     {1, 2, 3},
     255,
     0x00336699,
     0,
     true,
     {0, 0, 0},
     {0x33, 0x66, 0x99}},
    {"iterated scaled by constant",
     ITERATED_X_CONSTANT,
     ITERATED,
     GR_BLEND_ONE,
     GR_BLEND_ZERO,
     {128, 255, 64},
     255,
     0x00C8C8C8,
     0,
     true,
     {0, 0, 0},
     {100, 200, 50}},
    {"texture scaled by constant (intro)",
     CONSTANT_X_TEXTURE,
     ITERATED,
     GR_BLEND_ONE,
     GR_BLEND_ZERO,
     {0, 0, 0},
     255,
     0x00808080,
     0xFFF0783C,
     true,
     {0, 0, 0},
     {120, 60, 30}},
    {"additive flat, constant alpha 31",
     ITERATED,
     CONSTANT,
     GR_BLEND_SRC_ALPHA,
     GR_BLEND_ONE,
     {200, 100, 50},
     7,
     0x1F000000,
     0,
     true,
     {99, 101, 99},
     {99 + 24, 101 + 12, 99 + 6}},
    {"additive saturates",
     ITERATED,
     ITERATED,
     GR_BLEND_SRC_ALPHA,
     GR_BLEND_ONE,
     {255, 200, 100},
     255,
     0,
     0,
     true,
     {200, 200, 200},
     {255, 255, 255}},
    {"additive texture, texel alpha",
     TEXTURE,
     TEXTURE,
     GR_BLEND_SRC_ALPHA,
     GR_BLEND_ONE,
     {0, 0, 0},
     255,
     0,
     0x80FF8040,
     true,
     {41, 40, 41},
     {41 + 128, 40 + 64, 41 + 32}},
    {"additive tinted texture",
     ITERATED_X_TEXTURE,
     TEXTURE,
     GR_BLEND_SRC_ALPHA,
     GR_BLEND_ONE,
     {128, 64, 255},
     0,
     0,
     0xFFC8C8C8,
     true,
     {0, 0, 0},
     {100, 50, 200}},
    {"source alpha over nothing",
     ITERATED,
     ITERATED,
     GR_BLEND_SRC_ALPHA,
     GR_BLEND_ZERO,
     {200, 100, 50},
     128,
     0,
     0,
     true,
     {255, 255, 255},
     {100, 50, 25}},
    {"destination kept",
     ZERO,
     ITERATED,
     GR_BLEND_ONE,
     GR_BLEND_ONE,
     {200, 100, 50},
     255,
     0,
     0,
     true,
     {99, 101, 99},
     {99, 101, 99}},
    {"inverted",
     INVERTED_ITERATED,
     ITERATED,
     GR_BLEND_ONE,
     GR_BLEND_ZERO,
     {200, 100, 50},
     255,
     0,
     0,
     true,
     {0, 0, 0},
     {55, 155, 205}},
    {"texture unit off gives black",
     TEXTURE,
     TEXTURE,
     GR_BLEND_ONE,
     GR_BLEND_ZERO,
     {200, 100, 50},
     255,
     0,
     0xFFFFFFFF,
     false,
     {99, 99, 99},
     {0, 0, 0}},
};

class PipelineTest : public DeviceTest, public ::testing::WithParamInterface<PipelineCase> {};

std::uint8_t uniformTexels[64];
GuTexPalette palette;

void setUpCase(const PipelineCase &c, bool textured) {
    grDitherMode(GR_DITHER_DISABLE);
    fillScreen(c.under);
    if (textured) {
        for (std::uint8_t &t : uniformTexels)
            t = 1;
        palette = {};
        palette.data[1] = c.texel & 0x00FFFFFF;
        // AP_88 carries the alpha; the same index in the low byte.
        static FxU16 ap88[64];
        for (FxU16 &t : ap88)
            t = static_cast<FxU16>((c.texel >> 24) << 8 | 1);
        GrTexInfo info = smallTexture(GR_TEXFMT_AP_88, ap88);
        grTexDownloadMipMap(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
        grTexDownloadTable(GR_TMU0, GR_TEXTABLE_PALETTE, &palette);
        grTexSource(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
        GrCombineFunction_t f = c.textureLocal ? GR_COMBINE_FUNCTION_LOCAL : GR_COMBINE_FUNCTION_ZERO;
        grTexCombine(GR_TMU0, f, GR_COMBINE_FACTOR_NONE, f, GR_COMBINE_FACTOR_NONE, FXFALSE, FXFALSE);
    }
    grColorCombine(c.colour.function, c.colour.factor, c.colour.local, c.colour.other, c.colour.invert);
    grAlphaCombine(c.alpha.function, c.alpha.factor, c.alpha.local, c.alpha.other, c.alpha.invert);
    grAlphaBlendFunction(c.src, c.dst, GR_BLEND_ONE, GR_BLEND_ZERO);
    grConstantColorValue(c.constant);
}

TEST_P(PipelineTest, TrianglesAndPointsFollowTheFormula) {
    const PipelineCase &c = GetParam();
    setUpCase(c, c.texel != 0);
    drawRect(100, 100, 140, 140, c.vertex, c.vertexAlpha);
    GrVertex point = makeVertex(300.5f, 200.5f, c.vertex.r, c.vertex.g, c.vertex.b, c.vertexAlpha);
    grDrawPoint(&point);
    EXPECT_NEAR_RGB(readRgb(120, 120), c.expected.r, c.expected.g, c.expected.b);
    EXPECT_NEAR_RGB(readRgb(300, 200), c.expected.r, c.expected.g, c.expected.b);
}

INSTANTIATE_TEST_SUITE_P(Cases, PipelineTest, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<PipelineCase> &info) {
                             std::string name;
                             for (const char *p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

// The matrix by rows (y & 3): which pixels of a 4 x 4 block round up.
const int MATRIX[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

TEST_F(DeviceTest, DitherRoundsUpInMatrixOrderAndAveragesToTheColour) {
    for (int blue = 0; blue < 256; blue += 3) {
        fillScreen(Rgb{0, 0, blue});
        int low = 31, levels[4][4];
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                levels[y][x] = readPixel(GR_BUFFER_BACKBUFFER, 8 + x, 12 + y) & 31;
                if (levels[y][x] < low) low = levels[y][x];
            }
        int up = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                ASSERT_LE(levels[y][x] - low, 1) << "blue " << blue;
                up += levels[y][x] - low;
            }
        // Exactly the `up` largest matrix entries round up.
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(levels[y][x] > low, MATRIX[y][x] >= 16 - up)
                    << "blue " << blue << " at " << x << "," << y;
        double average = low + up / 16.0;
        EXPECT_NEAR(average, blue * 31.0 / 255.0, 2.0 / 16) << "blue " << blue;
    }
}

TEST_F(DeviceTest, WidenedColoursSurviveBlendingUnchanged) {
    // Adding nothing must not change a pixel, whatever its dither level.
    Rgb c{exact5(13), exact6(40), exact5(22)};
    fillScreen(c);
    grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
    drawRect(0, 0, 16, 16, Rgb{0, 0, 0});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            Rgb p = readRgb(x, y);
            EXPECT_EQ(p.r, c.r);
            EXPECT_EQ(p.g, c.g);
            EXPECT_EQ(p.b, c.b);
        }
}

} // namespace
