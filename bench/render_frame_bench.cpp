// One frame of the scene on the software device, at the saver's defaults, at
// the dialog's maximum and with a very large field. The pairs with Percent 0
// and with no stars separate the cost of the big stars and of the star
// points; BM_FrameBackground is the two bands and the swap alone.
#include "display/render_state.h"
#include "display/texture_slots.h"
#include "scene/scene.h"
#include <benchmark/benchmark.h>
#include <cmath>
#include <initializer_list>

namespace {

const int FLARE_SIDE = 128;
FxU16 flareTexels[2][FLARE_SIDE * FLARE_SIDE];

void loadGlowFlare(AlphaTextureSlot &slot, FxU16 *texels, FxU32 colour, FxU32 address) {
    for (int y = 0; y < FLARE_SIDE; ++y)
        for (int x = 0; x < FLARE_SIDE; ++x) {
            double dx = x + 0.5 - FLARE_SIDE / 2.0, dy = y + 0.5 - FLARE_SIDE / 2.0;
            double fall = 1.0 - std::sqrt(dx * dx + dy * dy) / (FLARE_SIDE / 2.0);
            int alpha = fall <= 0 ? 0 : static_cast<int>(255 * fall * fall);
            texels[y * FLARE_SIDE + x] = static_cast<FxU16>(alpha << 8);
        }
    slot.palette = {};
    slot.palette.data[0] = colour;
    slot.info = GrTexInfo{GR_LOD_128, GR_LOD_128, GR_ASPECT_1x1, GR_TEXFMT_AP_88, texels};
    slot.startAddress = address;
    grTexDownloadMipMap(GR_TMU0, address, GR_MIPMAPLEVELMASK_BOTH, &slot.info);
}

// The display as the saver's set-up leaves it, once per process.
void openDisplay() {
    static bool opened = false;
    if (opened) return;
    opened = true;
    GrHwConfiguration hardware = {};
    grGlideInit();
    grSstQueryHardware(&hardware);
    grSstSelect(0);
    grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB, GR_ORIGIN_UPPER_LEFT, 2, 0);
    FxU32 address = grTexMinAddress(GR_TMU0);
    loadGlowFlare(flareSlots[0], flareTexels[0], 0x00FFFFFF, address);
    address += grTexTextureMemRequired(GR_MIPMAPLEVELMASK_BOTH, &flareSlots[0].info);
    loadGlowFlare(flareSlots[1], flareTexels[1], 0x00FF2000, address);
    setRenderState();
    prepareVertexTemplates();
    grGlideShamelessPlug(FXTRUE);
    grConstantColorValue(0x1F000000);
}

void setUpScene(std::int32_t stars, std::int32_t percent) {
    openDisplay();
    NbStars = stars;
    Percent = percent;
    allocateStarField(stars);
    populateSceneWithSeed(12345);
    pathCursor = 0;
}

void BM_RenderFrame(benchmark::State &state) {
    setUpScene(static_cast<std::int32_t>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
    // Past the first frames, so that stars restarted at the far depth are in
    // the mix as they are in a running saver.
    for (int n = 0; n < 50; ++n)
        renderFrame();
    for (auto _ : state)
        renderFrame();
    state.counters["big_stars"] = bigStarCount();
}
BENCHMARK(BM_RenderFrame)
    ->Args({500, 20})
    ->Args({1000, 90})
    ->Args({100000, 20})
    ->Args({0, 0})
    ->Args({500, 0})
    ->Args({1000, 0})
    ->Unit(benchmark::kMicrosecond);

void BM_FrameBackground(benchmark::State &state) {
    setUpScene(0, 0);
    for (auto _ : state) {
        grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_ITERATED,
                       GR_COMBINE_OTHER_ITERATED, FXFALSE);
        grAlphaCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                       GR_COMBINE_OTHER_CONSTANT, FXFALSE);
        grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ONE, GR_BLEND_ZERO);
        for (float edge : {0.0f, 480.0f}) {
            BackgroundVertex0.x = 0;
            BackgroundVertex0.y = edge;
            BackgroundVertex1.x = 640;
            BackgroundVertex1.y = edge;
            BackgroundVertex2.x = 0;
            BackgroundVertex2.y = 240;
            BackgroundVertex3.x = 640;
            BackgroundVertex3.y = 240;
            grDrawTriangle(&BackgroundVertex0, &BackgroundVertex1, &BackgroundVertex3);
            grDrawTriangle(&BackgroundVertex0, &BackgroundVertex3, &BackgroundVertex2);
        }
        grBufferSwap(1);
    }
}
BENCHMARK(BM_FrameBackground)->Unit(benchmark::kMicrosecond);

} // namespace
