// The loaded textures with their palettes. Plain records, so that frame
// drawing can select them on every build.
#ifndef COMET_TEXTURE_SLOTS_H
#define COMET_TEXTURE_SLOTS_H

#include "glide/glide.h"

struct TextureSlot {
    FxI32 resourceId;
    GrTexInfo info;
    FxU32 startAddress;
    GuTexPalette palette;
};

struct AlphaTextureSlot {
    FxI32 colorResourceId;
    FxI32 alphaResourceId;
    GrTexInfo info;
    FxU32 startAddress;
    GuTexPalette palette;
};

extern TextureSlot logoSlot;
extern AlphaTextureSlot flareSlots[2];

#endif
