// Render-state setters. A value the device does not implement leaves the
// state as it was, so a stray argument cannot put the pipeline in an
// undefined mode.
#include "glide/device.h"

static bool supportedCombine(GrCombineFunction_t function, GrCombineFactor_t factor, GrCombineLocal_t local,
                             GrCombineOther_t other) {
    bool functionOk = function == GR_COMBINE_FUNCTION_ZERO || function == GR_COMBINE_FUNCTION_LOCAL ||
                      function == GR_COMBINE_FUNCTION_SCALE_OTHER;
    bool factorOk = factor == GR_COMBINE_FACTOR_ZERO || factor == GR_COMBINE_FACTOR_LOCAL ||
                    factor == GR_COMBINE_FACTOR_ONE;
    bool localOk = local == GR_COMBINE_LOCAL_ITERATED || local == GR_COMBINE_LOCAL_CONSTANT;
    bool otherOk = other == GR_COMBINE_OTHER_ITERATED || other == GR_COMBINE_OTHER_TEXTURE ||
                   other == GR_COMBINE_OTHER_CONSTANT;
    return functionOk && factorOk && localOk && otherOk;
}

static void setCombine(CombineState &state, GrCombineFunction_t function, GrCombineFactor_t factor,
                       GrCombineLocal_t local, GrCombineOther_t other, FxBool invert) {
    if (!supportedCombine(function, factor, local, other)) return;
    state = CombineState{function, factor, local, other, invert != FXFALSE};
}

void FX_CALL grColorCombine(GrCombineFunction_t function, GrCombineFactor_t factor, GrCombineLocal_t local,
                            GrCombineOther_t other, FxBool invert) {
    setCombine(glideDevice.colourCombine, function, factor, local, other, invert);
}

void FX_CALL grAlphaCombine(GrCombineFunction_t function, GrCombineFactor_t factor, GrCombineLocal_t local,
                            GrCombineOther_t other, FxBool invert) {
    setCombine(glideDevice.alphaCombine, function, factor, local, other, invert);
}

static bool supportedBlend(GrAlphaBlendFnc_t f) {
    return f == GR_BLEND_ZERO || f == GR_BLEND_ONE || f == GR_BLEND_SRC_ALPHA;
}

void FX_CALL grAlphaBlendFunction(GrAlphaBlendFnc_t rgbSrc, GrAlphaBlendFnc_t rgbDst,
                                  GrAlphaBlendFnc_t alphaSrc, GrAlphaBlendFnc_t alphaDst) {
    if (!supportedBlend(rgbSrc) || !supportedBlend(rgbDst) || !supportedBlend(alphaSrc) ||
        !supportedBlend(alphaDst))
        return;
    glideDevice.blendSrc = rgbSrc;
    glideDevice.blendDst = rgbDst;
    glideDevice.blendAlphaSrc = alphaSrc;
    glideDevice.blendAlphaDst = alphaDst;
}

void FX_CALL grConstantColorValue(GrColor_t color) {
    glideDevice.constantColour = color;
}

void FX_CALL grDitherMode(GrDitherMode_t mode) {
    if (mode == GR_DITHER_DISABLE || mode == GR_DITHER_2x2 || mode == GR_DITHER_4x4)
        glideDevice.ditherMode = mode;
}

static int clampToRange(FxU32 v, int limit) {
    return v > static_cast<FxU32>(limit) ? limit : static_cast<int>(v);
}

void FX_CALL grClipWindow(FxU32 minx, FxU32 miny, FxU32 maxx, FxU32 maxy) {
    glideDevice.clipMinX = clampToRange(minx, DISPLAY_WIDTH);
    glideDevice.clipMinY = clampToRange(miny, DISPLAY_HEIGHT);
    glideDevice.clipMaxX = clampToRange(maxx, DISPLAY_WIDTH);
    glideDevice.clipMaxY = clampToRange(maxy, DISPLAY_HEIGHT);
}

void FX_CALL grRenderBuffer(GrBuffer_t buffer) {
    if (buffer == GR_BUFFER_FRONTBUFFER || buffer == GR_BUFFER_BACKBUFFER) glideDevice.renderBuffer = buffer;
}
