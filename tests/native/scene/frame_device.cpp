#include "tests/native/scene/frame_device.h"
#include "display/texture_slots.h"
#include <cmath>

namespace {

const int FLARE_SIDE = 128;
FxU16 flareTexels[2][FLARE_SIDE * FLARE_SIDE];

// Palette entry 0 holds the colour; the alpha is either full over the whole
// square or falls off from the centre, like a glow.
void makeFlare(AlphaTextureSlot &slot, FxU16 *texels, FxU32 colour, FlareShape shape) {
    for (int y = 0; y < FLARE_SIDE; ++y)
        for (int x = 0; x < FLARE_SIDE; ++x) {
            int alpha = 255;
            if (shape == FLARE_GLOW) {
                double dx = x + 0.5 - FLARE_SIDE / 2.0, dy = y + 0.5 - FLARE_SIDE / 2.0;
                double fall = 1.0 - std::sqrt(dx * dx + dy * dy) / (FLARE_SIDE / 2.0);
                alpha = fall <= 0 ? 0 : static_cast<int>(255 * fall * fall);
            }
            texels[y * FLARE_SIDE + x] = static_cast<FxU16>(alpha << 8);
        }
    slot.palette = {};
    slot.palette.data[0] = colour;
    slot.info.smallLod = GR_LOD_128;
    slot.info.largeLod = GR_LOD_128;
    slot.info.aspectRatio = GR_ASPECT_1x1;
    slot.info.format = GR_TEXFMT_AP_88;
    slot.info.data = texels;
}

} // namespace

bool openFrameDevice(FlareShape shape) {
    GrHwConfiguration hardware = {};
    grGlideInit();
    if (!grSstQueryHardware(&hardware)) return false;
    grSstSelect(0);
    if (!grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB, GR_ORIGIN_UPPER_LEFT, 2,
                      0))
        return false;

    makeFlare(flareSlots[0], flareTexels[0], 0x00FFFFFF, shape);
    makeFlare(flareSlots[1], flareTexels[1], 0x00FF0000, shape);
    FxU32 address = grTexMinAddress(GR_TMU0);
    for (AlphaTextureSlot &slot : flareSlots) {
        slot.startAddress = address;
        grTexDownloadMipMap(GR_TMU0, address, GR_MIPMAPLEVELMASK_BOTH, &slot.info);
        address += grTexTextureMemRequired(GR_MIPMAPLEVELMASK_BOTH, &slot.info);
    }

    static GrFog_t fogTable[GR_FOG_TABLE_SIZE];
    grBufferClear(0, 0, 0);
    grRenderBuffer(GR_BUFFER_BACKBUFFER);
    grClipWindow(0, 0, 640, 480);
    grConstantColorValue(0);
    grDitherMode(GR_DITHER_4x4);
    guFogGenerateLinear(fogTable, 0.0f, 1000.0f);
    grFogTable(fogTable);
    grFogColorValue(0x000F000F);
    grFogMode(GR_FOG_WITH_TABLE);
    grTexCombine(GR_TMU0, GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_FUNCTION_LOCAL,
                 GR_COMBINE_FACTOR_NONE, FXFALSE, FXFALSE);
    grConstantColorValue(0x1F000000);
    return true;
}

void closeFrameDevice() {
    grGlideShutdown();
}

std::vector<Rgb> readShownFrame() {
    std::vector<FxU16> raw(640 * 480);
    std::vector<Rgb> frame(raw.size());
    if (!grLfbReadRegion(GR_BUFFER_FRONTBUFFER, 0, 0, 640, 480, 640 * sizeof(FxU16), raw.data())) return {};
    for (std::size_t i = 0; i < raw.size(); ++i) {
        int r = raw[i] >> 11, g = (raw[i] >> 5) & 63, b = raw[i] & 31;
        frame[i] = Rgb{(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
    }
    return frame;
}
