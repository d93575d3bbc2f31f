#include "display/render_state.h"
#include "glide/glide.h"

void setRenderState() {
    GrFog_t fogTable[GR_FOG_TABLE_SIZE];
    grBufferClear(0, 0, 0);
    grRenderBuffer(GR_BUFFER_BACKBUFFER);
    grClipWindow(0, 0, 640, 480);
    grConstantColorValue(0);
    grDitherMode(GR_DITHER_4x4);
    guFogGenerateLinear(fogTable, 0.0f, 1000.0f);
    grFogTable(fogTable);
    // A very dark purple, which the far stars fade into.
    grFogColorValue(0x000F000F);
    grFogMode(GR_FOG_WITH_TABLE);
    // Texels pass through unchanged: colour and alpha come from the texture.
    grTexCombine(GR_TMU0, GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_FUNCTION_LOCAL,
                 GR_COMBINE_FACTOR_NONE, FXFALSE, FXFALSE);
}
