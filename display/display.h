// Textures from the bitmap resources, display opening with its render state,
// the logo intro and the teardown.
#ifndef COMET_DISPLAY_H
#define COMET_DISPLAY_H

#include "glide/glide.h"
#include <windows.h>

struct TextureSlot {
    LONG resourceId;
    GrTexInfo info;
    FxU32 startAddress;
    GuTexPalette palette;
};

struct AlphaTextureSlot {
    LONG colorResourceId;
    LONG alphaResourceId;
    GrTexInfo info;
    FxU32 startAddress;
    GuTexPalette palette;
};

extern TextureSlot logoSlot;
extern AlphaTextureSlot flareSlots[2];

bool loadTextures(HINSTANCE instance);
void setRenderState();
void playLogoIntro();
bool initDisplayAndScene(HINSTANCE instance);
void shutdownDisplay();

#endif
