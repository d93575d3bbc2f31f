// The software device alone, on a frame shaped like the saver's: two Gouraud
// background bands, fogged star points, an additive flat tail and additive
// textured sprites of many sizes, then a swap.
#include "glide/glide.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

const int SIDE = 128;
const int PATH_STEPS = 1440;
const int STARS = 1000;

FxU16 flareTexels[SIDE * SIDE];
GuTexPalette whitePalette, redPalette;
GrTexInfo flareInfo;
double pathX[PATH_STEPS], pathY[PATH_STEPS];

void makeFlare() {
    for (int y = 0; y < SIDE; ++y)
        for (int x = 0; x < SIDE; ++x) {
            double dx = x + 0.5 - SIDE / 2.0, dy = y + 0.5 - SIDE / 2.0;
            double r = std::sqrt(dx * dx + dy * dy) / (SIDE / 2.0);
            int alpha = 4 + static_cast<int>(248 * std::exp(-4.0 * r * r));
            int index = r >= 1.0 ? 155 : static_cast<int>(155 * r);
            flareTexels[y * SIDE + x] = static_cast<FxU16>((alpha << 8) | index);
        }
    for (int i = 0; i < 256; ++i) {
        int fade = 255 - i;
        whitePalette.data[i] = static_cast<FxU32>((fade << 16) | (fade << 8) | 255);
        redPalette.data[i] = static_cast<FxU32>((255 << 16) | (fade / 2 << 8) | (fade / 2));
    }
    flareInfo = GrTexInfo{GR_LOD_128, GR_LOD_128, GR_ASPECT_1x1, GR_TEXFMT_AP_88, flareTexels};
}

void makePath() {
    for (int i = 0; i < PATH_STEPS; ++i) {
        double t = 2.0 * M_PI * i / PATH_STEPS;
        pathX[i] = 320.0 + 250.0 * std::sin(2.0 * t);
        pathY[i] = 240.0 + 180.0 * std::sin(3.0 * t);
    }
}

GrVertex vertex(float x, float y, float r, float g, float b) {
    GrVertex v = {};
    v.x = x;
    v.y = y;
    v.r = r;
    v.g = g;
    v.b = b;
    v.a = 255.0f;
    v.oow = 1.0f;
    return v;
}

void sprite(double cx, double cy, int h, float r, float g, float b) {
    GrVertex v[4] = {
        vertex(float(cx - h), float(cy - h), r, g, b), vertex(float(cx + h), float(cy - h), r, g, b),
        vertex(float(cx - h), float(cy + h), r, g, b), vertex(float(cx + h), float(cy + h), r, g, b)};
    v[1].tmuvtx[0].sow = v[3].tmuvtx[0].sow = 255.0f;
    v[2].tmuvtx[0].tow = v[3].tmuvtx[0].tow = 255.0f;
    grDrawTriangle(&v[0], &v[1], &v[2]);
    grDrawTriangle(&v[1], &v[2], &v[3]);
}

void selectFlare(GuTexPalette &palette) {
    grTexDownloadTable(GR_TMU0, GR_TEXTABLE_PALETTE, &palette);
    grTexSource(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &flareInfo);
}

void openDevice() {
    GrHwConfiguration hw;
    grGlideInit();
    grSstQueryHardware(&hw);
    grSstSelect(0);
    grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB, GR_ORIGIN_UPPER_LEFT, 2, 0);
    makeFlare();
    makePath();
    grTexDownloadMipMap(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &flareInfo);
    GrFog_t fog[GR_FOG_TABLE_SIZE];
    guFogGenerateLinear(fog, 0.0f, 1000.0f);
    grFogTable(fog);
    grFogColorValue(0x000F000F);
    grFogMode(GR_FOG_WITH_TABLE);
    grTexCombine(GR_TMU0, GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_FUNCTION_LOCAL,
                 GR_COMBINE_FACTOR_NONE, FXFALSE, FXFALSE);
    grGlideShamelessPlug(FXTRUE);
    grConstantColorValue(0x1F000000);
}

void background() {
    for (float edge : {0.0f, 480.0f}) {
        GrVertex v0 = vertex(0, edge, 0, 0, 0), v1 = vertex(640, edge, 0, 0, 0);
        GrVertex v2 = vertex(0, 240, 26, 0, 26), v3 = vertex(640, 240, 0, 0, 26);
        grDrawTriangle(&v0, &v1, &v3);
        grDrawTriangle(&v0, &v3, &v2);
    }
}

void stars(int frame) {
    GrVertex p = vertex(0, 0, 169, 163, 206);
    for (int i = 0; i < STARS; ++i) {
        int z = 1 + (i * 37 + frame) % 1000;
        p.x = static_cast<float>((i * 7919) % 640);
        p.y = static_cast<float>((i * 104729) % 480);
        p.oow = 1.0f / z;
        grDrawPoint(&p);
    }
}

// Returns the pixels it covered, for the throughput figure.
long drawFrame(int frame) {
    long pixels = 640L * 480L;
    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_ITERATED,
                   GR_COMBINE_OTHER_ITERATED, FXFALSE);
    grAlphaCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_CONSTANT, FXFALSE);
    grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ONE, GR_BLEND_ZERO);
    background();
    stars(frame);
    pixels += STARS;

    grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
    int cursor = frame % PATH_STEPS;
    for (int i = 0; i < 70; ++i) {
        int j = (cursor + i) % PATH_STEPS, m = (j + 5) % PATH_STEPS, f = (j + 15) % PATH_STEPS;
        GrVertex back = vertex(float(pathX[j]), float(pathY[j]), 255, 0, 0);
        GrVertex mid = vertex(float(pathX[m]), float(pathY[m]), 255, 200, 0);
        GrVertex front = vertex(float(pathX[f]), float(pathY[f]), 169, 163, 206);
        grDrawTriangle(&front, &mid, &back);
        pixels += std::lround(
            std::fabs((mid.x - front.x) * (back.y - front.y) - (back.x - front.x) * (mid.y - front.y)) / 2.0);
    }

    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    grAlphaCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    selectFlare(whitePalette);
    int head = (cursor + 85) % PATH_STEPS;
    sprite(pathX[head], pathY[head], 64, 0, 250, 255);
    pixels += 128 * 128;
    selectFlare(redPalette);
    for (int n = 30; n >= 1; --n) {
        int j = (cursor + 83 - 2 * n) % PATH_STEPS;
        sprite(pathX[j], pathY[j], 32 - n, 0, 250, 255);
        pixels += 4L * (32 - n) * (32 - n);
    }

    // The rest of the 160 sprites are big stars: tinted, half-sizes 2..32.
    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_LOCAL, GR_COMBINE_LOCAL_ITERATED,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    selectFlare(whitePalette);
    for (int i = 0; i < 129; ++i) {
        int h = 2 + (i * 7) % 31;
        double cx = (i * 211 + frame) % 640, cy = (i * 97) % 480;
        sprite(cx, cy, h, float(128 + i % 128), float(128 + (i * 3) % 128), float(200 + i % 56));
        pixels += 4L * h * h;
    }
    grBufferSwap(1);
    return pixels;
}

void BM_SaverShapedFrame(benchmark::State &state) {
    openDevice();
    int frame = 0;
    long pixels = 0;
    for (auto _ : state)
        pixels += drawFrame(frame++);
    grGlideShutdown();
    state.SetItemsProcessed(pixels);
    state.counters["Mpixels/s"] =
        benchmark::Counter(static_cast<double>(pixels) / 1e6, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_SaverShapedFrame)->Unit(benchmark::kMicrosecond);
