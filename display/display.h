// Textures from the bitmap resources, display opening with its render state,
// the logo intro and the teardown.
#ifndef COMET_DISPLAY_H
#define COMET_DISPLAY_H

#include "display/render_state.h"
#include "display/texture_slots.h"
#include <windows.h>

bool loadTextures(HINSTANCE instance);
void playLogoIntro();
bool initDisplayAndScene(HINSTANCE instance);
void shutdownDisplay();

#endif
