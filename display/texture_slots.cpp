#include "display/texture_slots.h"

TextureSlot logoSlot = {104, {GR_LOD_256, GR_LOD_256, GR_ASPECT_1x1, GR_TEXFMT_P_8, nullptr}, 0, {}};

AlphaTextureSlot flareSlots[2] = {
    {109, 107, {GR_LOD_128, GR_LOD_128, GR_ASPECT_1x1, GR_TEXFMT_AP_88, nullptr}, 0, {}},
    {110, 108, {GR_LOD_128, GR_LOD_128, GR_ASPECT_1x1, GR_TEXFMT_AP_88, nullptr}, 0, {}},
};
