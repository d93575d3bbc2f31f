// The specialised span loops against the general per-pixel loop: the same
// random scene drawn both ways must give the same bits, pixel for pixel.
#include "glide/raster.h"
#include "tests/native/glide/device_fixture.h"

#include <cctype>
#include <cmath>
#include <ostream>
#include <random>
#include <vector>

namespace {

const int SIDE = 128;

struct Combine {
    GrCombineFunction_t function;
    GrCombineFactor_t factor;
    GrCombineLocal_t local;
    GrCombineOther_t other;
};

const Combine ITERATED{GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_ITERATED,
                       GR_COMBINE_OTHER_ITERATED};
const Combine CONSTANT{GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                       GR_COMBINE_OTHER_CONSTANT};
const Combine TEXTURE{GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                      GR_COMBINE_OTHER_TEXTURE};
const Combine ITERATED_X_TEXTURE{GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_LOCAL,
                                 GR_COMBINE_LOCAL_ITERATED, GR_COMBINE_OTHER_TEXTURE};
const Combine CONSTANT_X_TEXTURE{GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_LOCAL,
                                 GR_COMBINE_LOCAL_CONSTANT, GR_COMBINE_OTHER_TEXTURE};

struct LoopCase {
    const char *name;
    Combine colour, alpha;
    GrAlphaBlendFnc_t src, dst;
    bool flatColour; // one colour per sprite, as the big stars have
};

const LoopCase CASES[] = {
    {"opaque gouraud", ITERATED, CONSTANT, GR_BLEND_ONE, GR_BLEND_ZERO, false},
    {"additive flat", ITERATED, ITERATED, GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, false},
    {"additive texture", TEXTURE, TEXTURE, GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, true},
    {"additive tinted, one tint", ITERATED_X_TEXTURE, TEXTURE, GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, true},
    {"additive tinted, gradient", ITERATED_X_TEXTURE, TEXTURE, GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, false},
    {"additive constant tint", CONSTANT_X_TEXTURE, TEXTURE, GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, false},
    {"opaque tinted", ITERATED_X_TEXTURE, CONSTANT, GR_BLEND_ONE, GR_BLEND_ZERO, false},
};

void PrintTo(const LoopCase &c, std::ostream *os) {
    *os << c.name;
}

// A disc of falling alpha with a transparent rim and transparent rows, plus
// noise inside, so spans start, end and pass through zero alpha anywhere.
FxU16 discTexels[SIDE * SIDE];
GuTexPalette palette;

void makeTexture(std::mt19937 &rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < SIDE; ++y)
        for (int x = 0; x < SIDE; ++x) {
            double dx = x + 0.5 - SIDE / 2.0, dy = y + 0.5 - SIDE / 2.0;
            double fall = 1.0 - std::sqrt(dx * dx + dy * dy) / (SIDE / 2.0 - 6);
            int alpha = fall <= 0 || y % 17 == 3 ? 0 : byte(rng) % 4 == 0 ? 0 : static_cast<int>(255 * fall);
            discTexels[y * SIDE + x] = static_cast<FxU16>(alpha << 8 | byte(rng));
        }
    for (FxU32 &entry : palette.data)
        entry = static_cast<FxU32>(byte(rng) << 16 | byte(rng) << 8 | byte(rng));
}

// Squares with power-of-two sides, corners on the 1/16 grid and whole
// numbers for colours and texture coordinates: every plane is then an exact
// binary fraction, so the fixed-point walks and the general loop's doubles
// agree and any difference is a fault of a loop.
void drawSquare(float x, float y, int side, const float colour[4][4], const float st[4][2]) {
    const float corner[4][2] = {{x, y}, {x + side, y}, {x, y + side}, {x + side, y + side}};
    GrVertex v[4];
    for (int i = 0; i < 4; ++i) {
        v[i] = makeVertex(corner[i][0], corner[i][1], colour[i][0], colour[i][1], colour[i][2], colour[i][3]);
        v[i].tmuvtx[0].sow = st[i][0];
        v[i].tmuvtx[0].tow = st[i][1];
    }
    grDrawTriangle(&v[0], &v[1], &v[2]);
    grDrawTriangle(&v[1], &v[2], &v[3]);
}

void drawSprite(std::mt19937 &rng, bool flatColour) {
    auto pick = [&rng](int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); };
    int side = 2 << pick(0, 6);
    // Some partly off the screen.
    float x = pick(-80 * 16, 680 * 16) / 16.0f, y = pick(-80 * 16, 520 * 16) / 16.0f;
    float colour[4][4];
    for (int c = 0; c < 4; ++c)
        colour[0][c] = static_cast<float>(pick(0, 255));
    for (int i = 1; i < 4; ++i)
        for (int c = 0; c < 4; ++c)
            colour[i][c] = flatColour ? colour[0][c] : static_cast<float>(pick(0, 255));
    // Mostly the texture upright as sprites have it, some mirrored, some
    // sheared so that both coordinates change along a row.
    float st[4][2] = {{0, 0}, {255, 0}, {0, 255}, {255, 255}};
    int mapping = pick(0, 5);
    if (mapping == 0)
        for (auto &corner : st)
            corner[0] = 255 - corner[0];
    if (mapping == 1)
        for (auto &corner : st)
            corner[0] = static_cast<float>(pick(0, 255)), corner[1] = static_cast<float>(pick(0, 255));
    drawSquare(x, y, side, colour, st);
}

std::vector<FxU16> drawScene(const LoopCase &c, unsigned seed, bool specialised) {
    specialisedSpanLoops = specialised;
    std::mt19937 rng(seed);
    makeTexture(rng);
    GrTexInfo info{GR_LOD_128, GR_LOD_128, GR_ASPECT_1x1, GR_TEXFMT_AP_88, discTexels};
    grTexDownloadMipMap(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
    grTexDownloadTable(GR_TMU0, GR_TEXTABLE_PALETTE, &palette);
    grTexSource(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
    grTexCombine(GR_TMU0, GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_FUNCTION_LOCAL,
                 GR_COMBINE_FACTOR_NONE, FXFALSE, FXFALSE);
    grConstantColorValue(0x80C06030);
    // A background of many colours under the sprites.
    useFlatOpaque();
    for (int y = 0; y < 480; y += 32)
        for (int x = 0; x < 640; x += 32) {
            float colour[4][4];
            for (auto &corner : colour)
                for (float &channel : corner)
                    channel = static_cast<float>(std::uniform_int_distribution<int>(0, 255)(rng));
            const float st[4][2] = {{0, 0}, {255, 0}, {0, 255}, {255, 255}};
            drawSquare(static_cast<float>(x), static_cast<float>(y), 32, colour, st);
        }

    grColorCombine(c.colour.function, c.colour.factor, c.colour.local, c.colour.other, FXFALSE);
    grAlphaCombine(c.alpha.function, c.alpha.factor, c.alpha.local, c.alpha.other, FXFALSE);
    grAlphaBlendFunction(c.src, c.dst, GR_BLEND_ONE, GR_BLEND_ZERO);
    for (int i = 0; i < 120; ++i)
        drawSprite(rng, c.flatColour);
    // A clipped pass as well: spans cut by the clip window.
    grClipWindow(37, 29, 601, 453);
    for (int i = 0; i < 40; ++i)
        drawSprite(rng, c.flatColour);
    grClipWindow(0, 0, 640, 480);

    std::vector<FxU16> pixels(640 * 480);
    EXPECT_EQ(grLfbReadRegion(GR_BUFFER_BACKBUFFER, 0, 0, 640, 480, 640 * 2, pixels.data()), FXTRUE);
    specialisedSpanLoops = true;
    return pixels;
}

class SpanLoopTest : public DeviceTest, public ::testing::WithParamInterface<LoopCase> {};

TEST_P(SpanLoopTest, SpecialisedLoopsGiveTheGeneralLoopsPixels) {
    for (unsigned seed : {1u, 2u, 3u}) {
        std::vector<FxU16> fast = drawScene(GetParam(), seed, true);
        std::vector<FxU16> general = drawScene(GetParam(), seed, false);
        int differing = 0, first = -1;
        for (int i = 0; i < 640 * 480; ++i)
            if (fast[i] != general[i]) {
                if (first < 0) first = i;
                ++differing;
            }
        EXPECT_EQ(differing, 0) << "seed " << seed << ", first at " << first % 640 << "," << first / 640
                                << ": " << fast[first] << " instead of " << general[first];
    }
}

INSTANTIATE_TEST_SUITE_P(Loops, SpanLoopTest, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<LoopCase> &info) {
                             std::string name;
                             for (const char *p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

} // namespace
