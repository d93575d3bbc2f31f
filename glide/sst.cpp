// The device's life: query, open with its initial state, shutdown.
#include "glide/device.h"
#include "glide/pixel.h"

#include <cstdlib>
#include <cstring>

GlideDevice glideDevice;
std::uint16_t colourBuffers[2][SCREEN_PIXELS];

static bool failKnob(const char *what) {
    const char *value = std::getenv("COMET_GLIDE_FAIL");
    return value && std::strcmp(value, what) == 0;
}

static void resetRenderState() {
    GlideDevice &d = glideDevice;
    d.front = 0;
    d.renderBuffer = GR_BUFFER_BACKBUFFER;
    d.clipMinX = 0;
    d.clipMinY = 0;
    d.clipMaxX = DISPLAY_WIDTH;
    d.clipMaxY = DISPLAY_HEIGHT;
    d.colourCombine = CombineState{GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE,
                                   GR_COMBINE_LOCAL_ITERATED, GR_COMBINE_OTHER_ITERATED, false};
    d.alphaCombine = d.colourCombine;
    d.blendSrc = GR_BLEND_ONE;
    d.blendDst = GR_BLEND_ZERO;
    d.blendAlphaSrc = GR_BLEND_ONE;
    d.blendAlphaDst = GR_BLEND_ZERO;
    d.constantColour = 0xFFFFFFFFu;
    d.ditherMode = GR_DITHER_4x4;
    d.fogMode = GR_FOG_DISABLE;
    std::memset(d.fogTable, 0, sizeof d.fogTable);
    d.fogColour = 0;
    d.plug = false;
    d.markUnder.saved = false;
    resetTextureState();
}

void FX_CALL grGlideInit(void) {
    initPixelTables();
}

FxBool FX_CALL grSstQueryHardware(GrHwConfiguration *hwconfig) {
    if (failKnob("query")) return FXFALSE;
    if (hwconfig) {
        hwconfig->num_sst = 1;
        hwconfig->boardType = 0;
        hwconfig->textureMemoryMiB = static_cast<int>(TEXTURE_MEMORY_BYTES >> 20);
    }
    return FXTRUE;
}

void FX_CALL grSstSelect(int) {}

FxBool FX_CALL grSstWinOpen(FxU32, GrScreenResolution_t resolution, GrScreenRefresh_t, GrColorFormat_t format,
                            GrOriginLocation_t origin, int, int) {
    GlideDevice &d = glideDevice;
    if (d.open) return FXFALSE;
    if (resolution != GR_RESOLUTION_640x480 || format != GR_COLORFORMAT_ARGB ||
        origin != GR_ORIGIN_UPPER_LEFT)
        return FXFALSE;
    if (failKnob("open")) return FXFALSE;
    // A program may open without grGlideInit; the tables must exist anyway.
    initPixelTables();
    if (!platformDisplayOpen()) return FXFALSE;
    resetRenderState();
    std::memset(colourBuffers, 0, sizeof colourBuffers);
    readDeviceKnobs(d.knobs);
    d.stats = DeviceStats{};
    d.open = true;
    return FXTRUE;
}

void FX_CALL grGlideShamelessPlug(FxBool on) {
    glideDevice.plug = on != FXFALSE;
}

void FX_CALL grGlideShutdown(void) {
    GlideDevice &d = glideDevice;
    if (!d.open) return;
    if (!d.knobs.statsPath.empty()) writeStatsFile(d.knobs.statsPath, d.stats);
    platformDisplayClose();
    d.open = false;
    resetTextureState();
}
