#include "tests/native/scene/frame_device.h"
#include "display/render_state.h"
#include "display/texture_slots.h"
#include <cmath>
#include <cstdio>
#include <string>

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
    slot.info = GrTexInfo{GR_LOD_128, GR_LOD_128, GR_ASPECT_1x1, GR_TEXFMT_AP_88, texels};
}

// An 8-bit 128 x 128 bitmap file: its colour table and its pixels in stored
// row order, which is the order the device takes texels in.
bool readFlareBitmap(const char *name, GuTexPalette *palette, FxU8 *pixels) {
    std::string path = std::string(COMET_RESOURCES_DIR) + "/" + name;
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    unsigned char bytes[1078 + FLARE_SIDE * FLARE_SIDE];
    bool ok = std::fread(bytes, sizeof bytes, 1, f) == 1 && bytes[0] == 'B' && bytes[1] == 'M';
    std::fclose(f);
    if (!ok) return false;
    for (int i = 0; palette != nullptr && i < 256; ++i) {
        const unsigned char *quad = bytes + 54 + 4 * i;
        palette->data[i] = (FxU32(quad[2]) << 16) | (FxU32(quad[1]) << 8) | quad[0];
    }
    for (int j = 0; j < FLARE_SIDE * FLARE_SIDE; ++j)
        pixels[j] = bytes[1078 + j];
    return true;
}

bool loadFlareBitmaps(AlphaTextureSlot &slot, FxU16 *texels, const char *colourName, const char *alphaName) {
    static FxU8 colour[FLARE_SIDE * FLARE_SIDE], alpha[FLARE_SIDE * FLARE_SIDE];
    if (!readFlareBitmap(colourName, &slot.palette, colour) || !readFlareBitmap(alphaName, nullptr, alpha))
        return false;
    for (int j = 0; j < FLARE_SIDE * FLARE_SIDE; ++j)
        texels[j] = static_cast<FxU16>(alpha[j] << 8 | colour[j]);
    slot.info = GrTexInfo{GR_LOD_128, GR_LOD_128, GR_ASPECT_1x1, GR_TEXFMT_AP_88, texels};
    return true;
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

    if (shape == FLARE_BITMAPS) {
        if (!loadFlareBitmaps(flareSlots[0], flareTexels[0], "flare_white.bmp", "flare_white_alpha.bmp") ||
            !loadFlareBitmaps(flareSlots[1], flareTexels[1], "flare_red.bmp", "flare_red_alpha.bmp"))
            return false;
    } else {
        makeFlare(flareSlots[0], flareTexels[0], 0x00FFFFFF, shape);
        makeFlare(flareSlots[1], flareTexels[1], 0x00FF0000, shape);
    }
    FxU32 address = grTexMinAddress(GR_TMU0);
    for (AlphaTextureSlot &slot : flareSlots) {
        slot.startAddress = address;
        grTexDownloadMipMap(GR_TMU0, address, GR_MIPMAPLEVELMASK_BOTH, &slot.info);
        address += grTexTextureMemRequired(GR_MIPMAPLEVELMASK_BOTH, &slot.info);
    }

    setRenderState();
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
