#include "display/display.h"
#include "scene/scene.h"

// One step raises red, green and blue together by 1.
const FxI32 INTRO_STEP = 0x010101;
const FxI32 INTRO_FULL = 0xFFFFFF;

static FxI32 introLevel;

// The level takes effect only at the next pass: each pass draws with the
// constant colour its predecessor left.
static void playIntroPass() {
    grDrawTriangle(&SpriteVertex0, &SpriteVertex1, &SpriteVertex2);
    grDrawTriangle(&SpriteVertex1, &SpriteVertex2, &SpriteVertex3);
    grBufferSwap(1);
    grBufferClear(0, 0, 0xFFFF);
    grConstantColorValue(static_cast<GrColor_t>(introLevel));
}

void playLogoIntro() {
    // Texel colour scaled by the constant colour: the black background stays
    // black while the plate brightens.
    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_LOCAL, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    grTexDownloadTable(GR_TMU0, GR_TEXTABLE_PALETTE, &logoSlot.palette);
    grTexSource(GR_TMU0, logoSlot.startAddress, GR_MIPMAPLEVELMASK_BOTH, &logoSlot.info);

    for (introLevel = 0; introLevel < INTRO_FULL; introLevel += INTRO_STEP)
        playIntroPass();
    for (introLevel = INTRO_FULL; introLevel > 0; introLevel -= INTRO_STEP)
        playIntroPass();
}
