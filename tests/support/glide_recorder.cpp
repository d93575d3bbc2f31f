#include "tests/support/glide_recorder.h"

#include <cmath>
#include <cstdio>

std::vector<GlideCall> glideCalls;
bool recorderHardwarePresent = true;
bool recorderOpenSucceeds = true;
FxU32 recorderTexMinAddress = 0;

void resetGlideRecorder() {
    glideCalls.clear();
    recorderHardwarePresent = true;
    recorderOpenSucceeds = true;
    recorderTexMinAddress = 0;
}

static GlideCall &record(const char *name, std::vector<double> args) {
    glideCalls.push_back(GlideCall{name, std::move(args), {}, {}, {}});
    return glideCalls.back();
}

static std::uint32_t levelBytes(const GrTexInfo *info) {
    if (!info || info->largeLod < GR_LOD_256 || info->largeLod > 8) return 0;
    std::uint32_t side = 256u >> info->largeLod;
    std::uint32_t texel = info->format == GR_TEXFMT_AP_88 ? 2 : 1;
    return (side * side * texel + 7) & ~7u;
}

std::string describeGlideCall(const GlideCall &call) {
    std::string text = call.name + "(";
    for (size_t i = 0; i < call.args.size(); ++i) {
        char number[64];
        double value = call.args[i];
        if (value == std::floor(value) && std::fabs(value) < 1e15)
            std::snprintf(number, sizeof number, "%.0f", value);
        else
            std::snprintf(number, sizeof number, "%g", value);
        text += (i ? ", " : "") + std::string(number);
    }
    return text + ")";
}

std::vector<std::string> describeGlideCalls() {
    std::vector<std::string> lines;
    for (const GlideCall &call : glideCalls)
        lines.push_back(describeGlideCall(call));
    return lines;
}

void FX_CALL grGlideInit(void) {
    record("grGlideInit", {});
}

FxBool FX_CALL grSstQueryHardware(GrHwConfiguration *hwconfig) {
    record("grSstQueryHardware", {}).pointers = {hwconfig};
    if (hwconfig && recorderHardwarePresent) hwconfig->num_sst = 1;
    return recorderHardwarePresent ? FXTRUE : FXFALSE;
}

void FX_CALL grSstSelect(int which) {
    record("grSstSelect", {double(which)});
}

FxBool FX_CALL grSstWinOpen(FxU32 hwnd, GrScreenResolution_t resolution, GrScreenRefresh_t refresh,
                            GrColorFormat_t format, GrOriginLocation_t origin, int colorBuffers,
                            int auxBuffers) {
    record("grSstWinOpen", {double(hwnd), double(resolution), double(refresh), double(format), double(origin),
                            double(colorBuffers), double(auxBuffers)});
    return recorderOpenSucceeds ? FXTRUE : FXFALSE;
}

void FX_CALL grGlideShamelessPlug(FxBool on) {
    record("grGlideShamelessPlug", {double(on)});
}
void FX_CALL grGlideShutdown(void) {
    record("grGlideShutdown", {});
}

FxU32 FX_CALL grTexMinAddress(GrChipID_t tmu) {
    record("grTexMinAddress", {double(tmu)});
    return recorderTexMinAddress;
}

FxU32 FX_CALL grTexMaxAddress(GrChipID_t tmu) {
    record("grTexMaxAddress", {double(tmu)});
    return recorderTexMinAddress + 2 * 1024 * 1024 - 8;
}

FxU32 FX_CALL grTexTextureMemRequired(FxU32 evenOdd, GrTexInfo *info) {
    record("grTexTextureMemRequired", {double(evenOdd)}).pointers = {info};
    return levelBytes(info);
}

void FX_CALL grTexDownloadMipMap(GrChipID_t tmu, FxU32 startAddress, FxU32 evenOdd, GrTexInfo *info) {
    GlideCall &call = record("grTexDownloadMipMap", {double(tmu), double(startAddress), double(evenOdd)});
    call.pointers = {info};
    if (info && info->data) {
        const std::uint8_t *bytes = static_cast<const std::uint8_t *>(info->data);
        call.data.assign(bytes, bytes + levelBytes(info));
    }
}

void FX_CALL grTexDownloadTable(GrChipID_t tmu, GrTexTable_t type, void *data) {
    GlideCall &call = record("grTexDownloadTable", {double(tmu), double(type)});
    call.pointers = {data};
    if (data) {
        const std::uint8_t *bytes = static_cast<const std::uint8_t *>(data);
        call.data.assign(bytes, bytes + sizeof(GuTexPalette));
    }
}

void FX_CALL grTexSource(GrChipID_t tmu, FxU32 startAddress, FxU32 evenOdd, GrTexInfo *info) {
    record("grTexSource", {double(tmu), double(startAddress), double(evenOdd)}).pointers = {info};
}

void FX_CALL grTexCombine(GrChipID_t tmu, GrCombineFunction_t rgbFunction, GrCombineFactor_t rgbFactor,
                          GrCombineFunction_t alphaFunction, GrCombineFactor_t alphaFactor, FxBool rgbInvert,
                          FxBool alphaInvert) {
    record("grTexCombine", {double(tmu), double(rgbFunction), double(rgbFactor), double(alphaFunction),
                            double(alphaFactor), double(rgbInvert), double(alphaInvert)});
}

void FX_CALL grColorCombine(GrCombineFunction_t function, GrCombineFactor_t factor, GrCombineLocal_t local,
                            GrCombineOther_t other, FxBool invert) {
    record("grColorCombine",
           {double(function), double(factor), double(local), double(other), double(invert)});
}

void FX_CALL grAlphaCombine(GrCombineFunction_t function, GrCombineFactor_t factor, GrCombineLocal_t local,
                            GrCombineOther_t other, FxBool invert) {
    record("grAlphaCombine",
           {double(function), double(factor), double(local), double(other), double(invert)});
}

void FX_CALL grAlphaBlendFunction(GrAlphaBlendFnc_t rgbSrc, GrAlphaBlendFnc_t rgbDst,
                                  GrAlphaBlendFnc_t alphaSrc, GrAlphaBlendFnc_t alphaDst) {
    record("grAlphaBlendFunction", {double(rgbSrc), double(rgbDst), double(alphaSrc), double(alphaDst)});
}

void FX_CALL grConstantColorValue(GrColor_t color) {
    record("grConstantColorValue", {double(color)});
}
void FX_CALL grDitherMode(GrDitherMode_t mode) {
    record("grDitherMode", {double(mode)});
}

void FX_CALL grClipWindow(FxU32 minx, FxU32 miny, FxU32 maxx, FxU32 maxy) {
    record("grClipWindow", {double(minx), double(miny), double(maxx), double(maxy)});
}

void FX_CALL grRenderBuffer(GrBuffer_t buffer) {
    record("grRenderBuffer", {double(buffer)});
}

void FX_CALL grBufferClear(GrColor_t color, GrAlpha_t alpha, FxU16 depth) {
    record("grBufferClear", {double(color), double(alpha), double(depth)});
}

void FX_CALL grBufferSwap(int swapInterval) {
    record("grBufferSwap", {double(swapInterval)});
}

void FX_CALL guFogGenerateLinear(GrFog_t *fogTable, float nearW, float farW) {
    record("guFogGenerateLinear", {double(nearW), double(farW)}).pointers = {fogTable};
    // Fill it as a device would, so a later grFogTable carries real values.
    for (int i = 0; fogTable && i < GR_FOG_TABLE_SIZE; ++i) {
        double w = std::pow(2.0, 3 + (i >> 2)) / (8 - (i & 3));
        double f = (w - nearW) / (farW - nearW);
        fogTable[i] = GrFog_t(255.0 * (f < 0 ? 0 : f > 1 ? 1 : f));
    }
}

void FX_CALL grFogTable(const GrFog_t *table) {
    GlideCall &call = record("grFogTable", {});
    call.pointers = {table};
    if (table) call.data.assign(table, table + GR_FOG_TABLE_SIZE);
}

void FX_CALL grFogColorValue(GrColor_t color) {
    record("grFogColorValue", {double(color)});
}
void FX_CALL grFogMode(GrFogMode_t mode) {
    record("grFogMode", {double(mode)});
}

void FX_CALL grDrawTriangle(const GrVertex *a, const GrVertex *b, const GrVertex *c) {
    GlideCall &call = record("grDrawTriangle", {});
    call.pointers = {a, b, c};
    call.vertices = {*a, *b, *c};
}

void FX_CALL grDrawPoint(const GrVertex *p) {
    GlideCall &call = record("grDrawPoint", {});
    call.pointers = {p};
    call.vertices = {*p};
}

FxBool FX_CALL grLfbReadRegion(GrBuffer_t srcBuffer, FxU32 srcX, FxU32 srcY, FxU32 srcWidth, FxU32 srcHeight,
                               FxU32 dstStride, void *dstData) {
    record("grLfbReadRegion", {double(srcBuffer), double(srcX), double(srcY), double(srcWidth),
                               double(srcHeight), double(dstStride)})
        .pointers = {dstData};
    return FXFALSE;
}
