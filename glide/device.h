// The software device's process-wide record: everything the Glide calls set
// and the rasterizer reads. One device, one thread, as on the real cards.
#ifndef COMET_GLIDE_DEVICE_H
#define COMET_GLIDE_DEVICE_H

#include "glide/glide.h"
#include "glide/platform_display.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

const int SCREEN_PIXELS = DISPLAY_WIDTH * DISPLAY_HEIGHT;
const std::uint32_t TEXTURE_MEMORY_BYTES = 2u * 1024u * 1024u;
const int PALETTE_ENTRIES = 256;

struct CombineState {
    GrCombineFunction_t function;
    GrCombineFactor_t factor;
    GrCombineLocal_t local;
    GrCombineOther_t other;
    bool invert;
};

// The texture the rasterizer samples; valid only after a grTexSource that
// named a supported format, level and address range.
struct TextureSource {
    bool valid;
    std::uint32_t address;
    GrTextureFormat_t format;
    int size;
};

struct TextureCombine {
    bool rgbLocal; // false: the unit gives 0
    bool alphaLocal;
    bool rgbInvert;
    bool alphaInvert;
};

struct FrameRange {
    long first;
    long last;
};

struct DeviceKnobs {
    std::string dumpDir;
    std::vector<FrameRange> dumpFrames;
    std::string statsPath;
};

struct DeviceStats {
    long swaps;
    std::chrono::steady_clock::time_point firstSwap;
    std::chrono::steady_clock::time_point lastSwap;
};

// Pixels under the device mark in the buffer now shown, put back when that
// buffer becomes the one the program draws into.
const int MARK_SIZE = 24;
struct MarkUnder {
    bool saved;
    int buffer;
    std::uint16_t pixels[MARK_SIZE * MARK_SIZE];
};

struct GlideDevice {
    bool open;
    bool plug;
    int front; // index into colourBuffers of the buffer being shown
    GrBuffer_t renderBuffer;
    int clipMinX, clipMinY, clipMaxX, clipMaxY; // max exclusive
    CombineState colourCombine;
    CombineState alphaCombine;
    GrAlphaBlendFnc_t blendSrc, blendDst, blendAlphaSrc, blendAlphaDst;
    GrColor_t constantColour;
    GrDitherMode_t ditherMode;
    GrFogMode_t fogMode;
    GrFog_t fogTable[GR_FOG_TABLE_SIZE];
    GrColor_t fogColour;
    TextureSource texture;
    TextureCombine textureCombine;
    std::uint32_t palette[PALETTE_ENTRIES];
    DeviceKnobs knobs;
    DeviceStats stats;
    MarkUnder markUnder;
};

extern GlideDevice glideDevice;
extern std::uint16_t colourBuffers[2][SCREEN_PIXELS];
extern std::uint8_t textureMemory[TEXTURE_MEMORY_BYTES];

inline std::uint16_t *renderTarget() {
    int index = glideDevice.renderBuffer == GR_BUFFER_FRONTBUFFER ? glideDevice.front : 1 - glideDevice.front;
    return colourBuffers[index];
}

// Called by every operation that writes the render buffer: drawing into the
// shown buffer makes the pixels saved under the mark stale.
void noteRenderBufferWrite();

// Texture memory: the current texture decoded to ARGB texels with the current
// palette (nullptr when no texture is selected), and cache invalidation.
const std::uint32_t *currentTexels();
// Per texel row of the current texture, the first and last column whose alpha
// is not zero (first > last when the row has none).
const std::int16_t *currentFirstOpaque();
const std::int16_t *currentLastOpaque();
void forgetDecodedTextures();
void resetTextureState();

// Device mark, blended into the buffer about to be shown.
void drawDeviceMark(std::uint16_t *pixels);

// Frame dumps and statistics driven by the environment knobs.
void readDeviceKnobs(DeviceKnobs &knobs);
bool frameListed(const std::vector<FrameRange> &frames, long frame);
std::vector<FrameRange> parseFrameList(const char *text);
bool writeFrameBmp(const std::string &path, const std::uint16_t *pixels);
void writeStatsFile(const std::string &path, const DeviceStats &stats);

#endif
