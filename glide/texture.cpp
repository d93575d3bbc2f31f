// Texture memory of the one texture unit, the palette, and the decoded-texel
// cache that lets the span loops fetch a ready ARGB value per texel.
#include "glide/device.h"

#include <cstring>

std::uint8_t textureMemory[TEXTURE_MEMORY_BYTES];

namespace {

const int MAX_TEXTURE_SIZE = 256;
const int DECODED_SLOTS = 4;

// A program switches between a few texture and palette pairs every frame;
// keeping each decoded spares a re-decode per switch.
struct DecodedTexture {
    bool valid;
    std::uint32_t address;
    GrTextureFormat_t format;
    int size;
    std::uint32_t palette[PALETTE_ENTRIES];
    unsigned long lastUse;
    std::uint32_t texels[MAX_TEXTURE_SIZE * MAX_TEXTURE_SIZE];
    // First and last column of each row whose alpha is not zero; first >
    // last for a row with none.
    std::int16_t firstOpaque[MAX_TEXTURE_SIZE], lastOpaque[MAX_TEXTURE_SIZE];
};

DecodedTexture decoded[DECODED_SLOTS];
unsigned long useCounter;
const DecodedTexture *active;

int bytesPerTexel(GrTextureFormat_t format) {
    return format == GR_TEXFMT_AP_88 ? 2 : 1;
}

// Edge length of a supported single-level square texture, 0 otherwise.
int supportedSize(const GrTexInfo *info) {
    if (!info) return 0;
    if (info->format != GR_TEXFMT_P_8 && info->format != GR_TEXFMT_AP_88) return 0;
    if (info->aspectRatio != GR_ASPECT_1x1) return 0;
    if (info->largeLod != info->smallLod) return 0;
    if (info->largeLod < GR_LOD_256 || info->largeLod > GR_LOD_256 + 8) return 0;
    return MAX_TEXTURE_SIZE >> (info->largeLod - GR_LOD_256);
}

std::uint32_t levelBytes(const GrTexInfo *info, int size) {
    std::uint32_t bytes = static_cast<std::uint32_t>(size * size * bytesPerTexel(info->format));
    return (bytes + 7u) & ~7u;
}

bool fitsInMemory(FxU32 start, std::uint32_t bytes) {
    return start <= TEXTURE_MEMORY_BYTES && bytes <= TEXTURE_MEMORY_BYTES - start;
}

bool evenOddOk(FxU32 evenOdd) {
    return evenOdd >= 1 && evenOdd <= GR_MIPMAPLEVELMASK_BOTH;
}

void decode(DecodedTexture &slot) {
    const TextureSource &source = glideDevice.texture;
    const std::uint32_t *palette = glideDevice.palette;
    int count = source.size * source.size;
    const std::uint8_t *memory = textureMemory + source.address;
    if (source.format == GR_TEXFMT_P_8) {
        for (int i = 0; i < count; ++i)
            slot.texels[i] = 0xFF000000u | (palette[memory[i]] & 0x00FFFFFFu);
    } else {
        for (int i = 0; i < count; ++i) {
            std::uint32_t alpha = memory[2 * i + 1];
            slot.texels[i] = (alpha << 24) | (palette[memory[2 * i]] & 0x00FFFFFFu);
        }
    }
    for (int row = 0; row < source.size; ++row) {
        const std::uint32_t *line = slot.texels + row * source.size;
        int first = 0, last = source.size - 1;
        while (first <= last && (line[first] >> 24) == 0)
            ++first;
        while (last >= first && (line[last] >> 24) == 0)
            --last;
        slot.firstOpaque[row] = static_cast<std::int16_t>(first);
        slot.lastOpaque[row] = static_cast<std::int16_t>(last);
    }
    slot.valid = true;
    slot.address = source.address;
    slot.format = source.format;
    slot.size = source.size;
    std::memcpy(slot.palette, palette, sizeof slot.palette);
}

} // namespace

void forgetDecodedTextures() {
    for (DecodedTexture &slot : decoded)
        slot.valid = false;
    active = nullptr;
}

void resetTextureState() {
    forgetDecodedTextures();
    glideDevice.texture = TextureSource{false, 0, 0, 0};
    glideDevice.textureCombine = TextureCombine{false, false, false, false};
    std::memset(glideDevice.palette, 0, sizeof glideDevice.palette);
}

namespace {

const DecodedTexture *currentTexture() {
    if (active) return active;
    const TextureSource &source = glideDevice.texture;
    if (!source.valid) return nullptr;
    DecodedTexture *chosen = nullptr;
    for (DecodedTexture &slot : decoded) {
        if (slot.valid && slot.address == source.address && slot.format == source.format &&
            slot.size == source.size &&
            std::memcmp(slot.palette, glideDevice.palette, sizeof slot.palette) == 0) {
            chosen = &slot;
            break;
        }
    }
    if (!chosen) {
        chosen = &decoded[0];
        for (DecodedTexture &slot : decoded) {
            if (!slot.valid) {
                chosen = &slot;
                break;
            }
            if (slot.lastUse < chosen->lastUse) chosen = &slot;
        }
        decode(*chosen);
    }
    chosen->lastUse = ++useCounter;
    active = chosen;
    return active;
}

} // namespace

const std::uint32_t *currentTexels() {
    const DecodedTexture *texture = currentTexture();
    return texture ? texture->texels : nullptr;
}

const std::int16_t *currentFirstOpaque() {
    const DecodedTexture *texture = currentTexture();
    return texture ? texture->firstOpaque : nullptr;
}

const std::int16_t *currentLastOpaque() {
    const DecodedTexture *texture = currentTexture();
    return texture ? texture->lastOpaque : nullptr;
}

FxU32 FX_CALL grTexMinAddress(GrChipID_t) {
    return 0;
}

FxU32 FX_CALL grTexMaxAddress(GrChipID_t tmu) {
    return tmu == GR_TMU0 ? TEXTURE_MEMORY_BYTES - 8 : 0;
}

FxU32 FX_CALL grTexTextureMemRequired(FxU32 evenOdd, GrTexInfo *info) {
    int size = supportedSize(info);
    if (!size || !evenOddOk(evenOdd)) return 0;
    return levelBytes(info, size);
}

void FX_CALL grTexDownloadMipMap(GrChipID_t tmu, FxU32 startAddress, FxU32 evenOdd, GrTexInfo *info) {
    int size = supportedSize(info);
    if (tmu != GR_TMU0 || !size || !evenOddOk(evenOdd) || !info->data) return;
    std::uint32_t bytes = levelBytes(info, size);
    if (!fitsInMemory(startAddress, bytes)) return;
    std::memcpy(textureMemory + startAddress, info->data,
                static_cast<std::size_t>(size) * size * bytesPerTexel(info->format));
    forgetDecodedTextures();
}

void FX_CALL grTexDownloadTable(GrChipID_t tmu, GrTexTable_t type, void *data) {
    if (tmu != GR_TMU0 || type != GR_TEXTABLE_PALETTE || !data) return;
    std::memcpy(glideDevice.palette, static_cast<const GuTexPalette *>(data)->data,
                sizeof glideDevice.palette);
    active = nullptr;
}

void FX_CALL grTexSource(GrChipID_t tmu, FxU32 startAddress, FxU32 evenOdd, GrTexInfo *info) {
    int size = supportedSize(info);
    if (tmu != GR_TMU0 || !size || !evenOddOk(evenOdd)) return;
    if (!fitsInMemory(startAddress, levelBytes(info, size))) return;
    glideDevice.texture = TextureSource{true, startAddress, info->format, size};
    active = nullptr;
}

void FX_CALL grTexCombine(GrChipID_t tmu, GrCombineFunction_t rgbFunction, GrCombineFactor_t,
                          GrCombineFunction_t alphaFunction, GrCombineFactor_t, FxBool rgbInvert,
                          FxBool alphaInvert) {
    auto supported = [](GrCombineFunction_t f) {
        return f == GR_COMBINE_FUNCTION_ZERO || f == GR_COMBINE_FUNCTION_LOCAL;
    };
    if (tmu != GR_TMU0 || !supported(rgbFunction) || !supported(alphaFunction)) return;
    glideDevice.textureCombine =
        TextureCombine{rgbFunction == GR_COMBINE_FUNCTION_LOCAL, alphaFunction == GR_COMBINE_FUNCTION_LOCAL,
                       rgbInvert != FXFALSE, alphaInvert != FXFALSE};
}
