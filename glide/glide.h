// The Glide 2.x interface as Comet uses it: types, constants and the
// operations our software device implements. Written for this project from
// the public description of the API; layouts match what Glide 2.x programs
// expect (GrVertex is 18 floats, colours are 0xAARRGGBB).
#ifndef COMET_GLIDE_H
#define COMET_GLIDE_H

#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define FX_CALL __stdcall
#else
#define FX_CALL
#endif

typedef std::uint8_t FxU8;
typedef std::uint16_t FxU16;
typedef std::uint32_t FxU32;
typedef std::int32_t FxI32;
typedef FxI32 FxBool;
typedef float FxFloat;

#define FXFALSE 0
#define FXTRUE 1

typedef FxU32 GrColor_t;
typedef FxU8 GrAlpha_t;
typedef FxI32 GrChipID_t;
typedef FxI32 GrBuffer_t;
typedef FxI32 GrScreenResolution_t;
typedef FxI32 GrScreenRefresh_t;
typedef FxI32 GrColorFormat_t;
typedef FxI32 GrOriginLocation_t;
typedef FxI32 GrCombineFunction_t;
typedef FxI32 GrCombineFactor_t;
typedef FxI32 GrCombineLocal_t;
typedef FxI32 GrCombineOther_t;
typedef FxI32 GrAlphaBlendFnc_t;
typedef FxI32 GrDitherMode_t;
typedef FxI32 GrFogMode_t;
typedef FxI32 GrTexTable_t;
typedef FxI32 GrLOD_t;
typedef FxI32 GrAspectRatio_t;
typedef FxI32 GrTextureFormat_t;
typedef FxU8 GrFog_t;

#define GR_TMU0 0
#define GR_TMU1 1
#define GR_TMU2 2
#define GLIDE_NUM_TMU 3

#define GR_BUFFER_FRONTBUFFER 0
#define GR_BUFFER_BACKBUFFER 1

#define GR_RESOLUTION_640x480 7
#define GR_REFRESH_60Hz 0
#define GR_COLORFORMAT_ARGB 0
#define GR_ORIGIN_UPPER_LEFT 0

#define GR_COMBINE_FUNCTION_ZERO 0
#define GR_COMBINE_FUNCTION_LOCAL 1
#define GR_COMBINE_FUNCTION_SCALE_OTHER 3

#define GR_COMBINE_FACTOR_ZERO 0
#define GR_COMBINE_FACTOR_NONE 0
#define GR_COMBINE_FACTOR_LOCAL 1
#define GR_COMBINE_FACTOR_ONE 8

#define GR_COMBINE_LOCAL_ITERATED 0
#define GR_COMBINE_LOCAL_CONSTANT 1

#define GR_COMBINE_OTHER_ITERATED 0
#define GR_COMBINE_OTHER_TEXTURE 1
#define GR_COMBINE_OTHER_CONSTANT 2

#define GR_BLEND_ZERO 0
#define GR_BLEND_SRC_ALPHA 1
#define GR_BLEND_ONE 4

#define GR_DITHER_DISABLE 0
#define GR_DITHER_2x2 1
#define GR_DITHER_4x4 2

#define GR_FOG_DISABLE 0
#define GR_FOG_WITH_TABLE 2
#define GR_FOG_TABLE_SIZE 64

#define GR_LOD_256 0
#define GR_LOD_128 1
#define GR_ASPECT_1x1 3
#define GR_TEXFMT_P_8 5
#define GR_TEXFMT_AP_88 14

#define GR_MIPMAPLEVELMASK_BOTH 3
#define GR_TEXTABLE_PALETTE 2

typedef struct {
    float sow, tow, oow;
} GrTmuVertex;

typedef struct {
    float x, y, z;
    float r, g, b;
    float ooz;
    float a;
    float oow;
    GrTmuVertex tmuvtx[GLIDE_NUM_TMU];
} GrVertex;

static_assert(sizeof(GrVertex) == 18 * sizeof(float), "GrVertex is 18 floats");

typedef struct {
    GrLOD_t smallLod;
    GrLOD_t largeLod;
    GrAspectRatio_t aspectRatio;
    GrTextureFormat_t format;
    void *data;
} GrTexInfo;

typedef struct {
    FxU32 data[256];
} GuTexPalette;

// What the hardware query reports: our device is the one board.
typedef struct {
    int num_sst;
    int boardType;
    int textureMemoryMiB;
} GrHwConfiguration;

void FX_CALL grGlideInit(void);
FxBool FX_CALL grSstQueryHardware(GrHwConfiguration *hwconfig);
void FX_CALL grSstSelect(int which);
FxBool FX_CALL grSstWinOpen(FxU32 hwnd, GrScreenResolution_t resolution, GrScreenRefresh_t refresh,
                            GrColorFormat_t format, GrOriginLocation_t origin, int colorBuffers,
                            int auxBuffers);
void FX_CALL grGlideShamelessPlug(FxBool on);
void FX_CALL grGlideShutdown(void);

FxU32 FX_CALL grTexMinAddress(GrChipID_t tmu);
FxU32 FX_CALL grTexMaxAddress(GrChipID_t tmu);
FxU32 FX_CALL grTexTextureMemRequired(FxU32 evenOdd, GrTexInfo *info);
void FX_CALL grTexDownloadMipMap(GrChipID_t tmu, FxU32 startAddress, FxU32 evenOdd, GrTexInfo *info);
void FX_CALL grTexDownloadTable(GrChipID_t tmu, GrTexTable_t type, void *data);
void FX_CALL grTexSource(GrChipID_t tmu, FxU32 startAddress, FxU32 evenOdd, GrTexInfo *info);
void FX_CALL grTexCombine(GrChipID_t tmu, GrCombineFunction_t rgbFunction, GrCombineFactor_t rgbFactor,
                          GrCombineFunction_t alphaFunction, GrCombineFactor_t alphaFactor,
                          FxBool rgbInvert, FxBool alphaInvert);

void FX_CALL grColorCombine(GrCombineFunction_t function, GrCombineFactor_t factor,
                            GrCombineLocal_t local, GrCombineOther_t other, FxBool invert);
void FX_CALL grAlphaCombine(GrCombineFunction_t function, GrCombineFactor_t factor,
                            GrCombineLocal_t local, GrCombineOther_t other, FxBool invert);
void FX_CALL grAlphaBlendFunction(GrAlphaBlendFnc_t rgbSrc, GrAlphaBlendFnc_t rgbDst,
                                  GrAlphaBlendFnc_t alphaSrc, GrAlphaBlendFnc_t alphaDst);
void FX_CALL grConstantColorValue(GrColor_t color);
void FX_CALL grDitherMode(GrDitherMode_t mode);
void FX_CALL grClipWindow(FxU32 minx, FxU32 miny, FxU32 maxx, FxU32 maxy);
void FX_CALL grRenderBuffer(GrBuffer_t buffer);
void FX_CALL grBufferClear(GrColor_t color, GrAlpha_t alpha, FxU16 depth);
void FX_CALL grBufferSwap(int swapInterval);

void FX_CALL guFogGenerateLinear(GrFog_t *fogTable, float nearW, float farW);
void FX_CALL grFogTable(const GrFog_t *table);
void FX_CALL grFogColorValue(GrColor_t color);
void FX_CALL grFogMode(GrFogMode_t mode);

void FX_CALL grDrawTriangle(const GrVertex *a, const GrVertex *b, const GrVertex *c);
void FX_CALL grDrawPoint(const GrVertex *p);

FxBool FX_CALL grLfbReadRegion(GrBuffer_t srcBuffer, FxU32 srcX, FxU32 srcY, FxU32 srcWidth,
                               FxU32 srcHeight, FxU32 dstStride, void *dstData);

#endif
