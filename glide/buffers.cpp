// Colour buffers: clear, swap and linear-frame-buffer reads.
#include "glide/device.h"
#include "glide/pixel.h"

#include <cstdio>
#include <cstring>

namespace {

const int MARK_MARGIN = 6;

int markLeft() {
    return DISPLAY_WIDTH - MARK_MARGIN - MARK_SIZE;
}
int markTop() {
    return DISPLAY_HEIGHT - MARK_MARGIN - MARK_SIZE;
}

void copyMarkArea(std::uint16_t *buffer, std::uint16_t *saved, bool save) {
    for (int row = 0; row < MARK_SIZE; ++row) {
        std::uint16_t *line = buffer + (markTop() + row) * DISPLAY_WIDTH + markLeft();
        std::uint16_t *keep = saved + row * MARK_SIZE;
        if (save)
            std::memcpy(keep, line, MARK_SIZE * sizeof *line);
        else
            std::memcpy(line, keep, MARK_SIZE * sizeof *line);
    }
}

void dumpFrame(const std::uint16_t *pixels, long frame) {
    const DeviceKnobs &k = glideDevice.knobs;
    if (k.dumpDir.empty() || !frameListed(k.dumpFrames, frame)) return;
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06ld.bmp", frame);
    writeFrameBmp(k.dumpDir + name, pixels);
}

} // namespace

void noteRenderBufferWrite() {
    MarkUnder &m = glideDevice.markUnder;
    if (m.saved && glideDevice.renderBuffer == GR_BUFFER_FRONTBUFFER) m.saved = false;
}

void FX_CALL grBufferClear(GrColor_t color, GrAlpha_t, FxU16) {
    GlideDevice &d = glideDevice;
    if (!d.open || d.clipMinX >= d.clipMaxX || d.clipMinY >= d.clipMaxY) return;
    noteRenderBufferWrite();
    std::uint16_t value = packPixel((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF, 0);
    std::uint16_t *target = renderTarget();
    for (int y = d.clipMinY; y < d.clipMaxY; ++y) {
        std::uint16_t *line = target + y * DISPLAY_WIDTH;
        for (int x = d.clipMinX; x < d.clipMaxX; ++x)
            line[x] = value;
    }
}

void FX_CALL grBufferSwap(int swapInterval) {
    GlideDevice &d = glideDevice;
    if (!d.open) return;
    MarkUnder &m = d.markUnder;
    // The buffer leaving the screen gets back what the mark covered, so the
    // program never finds the mark in the buffer it draws into.
    if (m.saved && m.buffer == d.front) copyMarkArea(colourBuffers[d.front], m.pixels, false);
    m.saved = false;
    d.front = 1 - d.front;
    std::uint16_t *shown = colourBuffers[d.front];
    if (d.plug) {
        copyMarkArea(shown, m.pixels, true);
        m.saved = true;
        m.buffer = d.front;
        drawDeviceMark(shown + markTop() * DISPLAY_WIDTH + markLeft());
    }
    auto now = std::chrono::steady_clock::now();
    if (d.stats.swaps == 0) d.stats.firstSwap = now;
    d.stats.lastSwap = now;
    ++d.stats.swaps;
    dumpFrame(shown, d.stats.swaps);
    platformDisplayPresent(shown, swapInterval);
}

FxBool FX_CALL grLfbReadRegion(GrBuffer_t srcBuffer, FxU32 srcX, FxU32 srcY, FxU32 srcWidth, FxU32 srcHeight,
                               FxU32 dstStride, void *dstData) {
    const GlideDevice &d = glideDevice;
    if (!d.open || !dstData) return FXFALSE;
    if (srcBuffer != GR_BUFFER_FRONTBUFFER && srcBuffer != GR_BUFFER_BACKBUFFER) return FXFALSE;
    if (srcX > DISPLAY_WIDTH || srcWidth > DISPLAY_WIDTH - srcX) return FXFALSE;
    if (srcY > DISPLAY_HEIGHT || srcHeight > DISPLAY_HEIGHT - srcY) return FXFALSE;
    // Rows must not overlap in the caller's buffer.
    if (srcHeight > 1 && dstStride < srcWidth * 2) return FXFALSE;
    int index = srcBuffer == GR_BUFFER_FRONTBUFFER ? d.front : 1 - d.front;
    const std::uint16_t *source = colourBuffers[index];
    auto *out = static_cast<unsigned char *>(dstData);
    for (FxU32 row = 0; row < srcHeight; ++row)
        std::memcpy(out + static_cast<std::size_t>(row) * dstStride,
                    source + (srcY + row) * DISPLAY_WIDTH + srcX, srcWidth * 2);
    return FXTRUE;
}
