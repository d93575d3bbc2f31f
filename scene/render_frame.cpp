#include "display/texture_slots.h"
#include "scene/scene.h"

namespace {

void flatCombine() {
    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_ITERATED,
                   GR_COMBINE_OTHER_ITERATED, FXFALSE);
    grAlphaCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_CONSTANT, FXFALSE);
}

void texturedCombine() {
    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    grAlphaCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
}

void tintedCombine() {
    grColorCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_LOCAL, GR_COMBINE_LOCAL_ITERATED,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
    grAlphaCombine(GR_COMBINE_FUNCTION_SCALE_OTHER, GR_COMBINE_FACTOR_ONE, GR_COMBINE_LOCAL_CONSTANT,
                   GR_COMBINE_OTHER_TEXTURE, FXFALSE);
}

void selectFlare(AlphaTextureSlot &slot) {
    grTexDownloadTable(GR_TMU0, GR_TEXTABLE_PALETTE, &slot.palette);
    grTexSource(GR_TMU0, slot.startAddress, GR_MIPMAPLEVELMASK_BOTH, &slot.info);
}

GrVertex *const spriteCorners[4] = {&SpriteVertex0, &SpriteVertex1, &SpriteVertex2, &SpriteVertex3};

void setCorner(GrVertex &v, double x, double y) {
    v.x = static_cast<float>(x);
    v.y = static_cast<float>(y);
}

// Texture coordinates and 1/w stay as the templates hold them, so the whole
// texture covers the square.
void drawSpriteSquare(double cx, double cy, std::int32_t h) {
    setCorner(SpriteVertex0, cx - h, cy - h);
    setCorner(SpriteVertex1, cx + h, cy - h);
    setCorner(SpriteVertex2, cx - h, cy + h);
    setCorner(SpriteVertex3, cx + h, cy + h);
    grDrawTriangle(&SpriteVertex0, &SpriteVertex1, &SpriteVertex2);
    grDrawTriangle(&SpriteVertex1, &SpriteVertex2, &SpriteVertex3);
}

// One band from the screen edge at edgeY to the horizon; the two bands
// together cover every pixel, so the frame needs no clear.
void drawBackgroundBand(float edgeY) {
    setCorner(BackgroundVertex0, 0, edgeY);
    setCorner(BackgroundVertex1, 640, edgeY);
    setCorner(BackgroundVertex2, 0, 240);
    setCorner(BackgroundVertex3, 640, 240);
    grDrawTriangle(&BackgroundVertex0, &BackgroundVertex1, &BackgroundVertex3);
    grDrawTriangle(&BackgroundVertex0, &BackgroundVertex3, &BackgroundVertex2);
}

void placeOnPath(GrVertex &v, std::int32_t step) {
    v.x = static_cast<float>(cometPath.x[step]);
    v.y = static_cast<float>(cometPath.y[step]);
    v.oow = 1.0f;
}

void drawStarPoints() {
    for (std::int32_t i = 0; i < starField.count; ++i) {
        std::int32_t sx, sy, z;
        if (!advanceStar(i, &sx, &sy, &z)) continue;
        PointVertex.x = static_cast<float>(sx);
        PointVertex.y = static_cast<float>(sy);
        // The fog reads depth from 1/w, so far stars fade into it.
        PointVertex.oow = 1.0f / static_cast<float>(z);
        grDrawPoint(&PointVertex);
    }
}

void drawTail() {
    for (std::int32_t i = 0; i < 70; ++i) {
        std::int32_t j = pathIndex(i);
        placeOnPath(TailBackVertex, j);
        placeOnPath(TailMidVertex, (j + 5) % PATH_STEPS);
        placeOnPath(PointVertex, (j + 15) % PATH_STEPS);
        grDrawTriangle(&PointVertex, &TailMidVertex, &TailBackVertex);
    }
}

void drawHead() {
    std::int32_t j = pathIndex(85);
    drawSpriteSquare(cometPath.x[j], cometPath.y[j], 64);
}

// Thin end first, growing towards the head.
void drawGlowTrail() {
    std::int32_t j = pathIndex(21);
    for (std::int32_t n = 30; n >= 1; --n) {
        j = (j + 2) % PATH_STEPS;
        drawSpriteSquare(cometPath.x[j], cometPath.y[j], 32 - n);
    }
}

// Uses the depth the point pass left, so a star that has just restarted far
// away draws as an empty square and one that has moved off screen is skipped.
void drawBigStars() {
    std::int32_t count = bigStarCount();
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t sx, sy;
        projectStar(i, &sx, &sy);
        if (!onScreen(sx, sy)) continue;
        const StarRecord &star = starField.stars[i];
        std::int32_t h = 32 - (star.z * 32) / 1000;
        for (GrVertex *v : spriteCorners) {
            v->r = static_cast<float>(star.r);
            v->g = static_cast<float>(star.g);
            v->b = static_cast<float>(star.b);
        }
        drawSpriteSquare(sx, sy, h);
    }
}

} // namespace

void renderFrame() {
    flatCombine();
    grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ONE, GR_BLEND_ZERO);
    drawBackgroundBand(0);
    drawBackgroundBand(480);
    drawStarPoints();

    grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
    advancePathCursor();
    drawTail();

    texturedCombine();
    selectFlare(flareSlots[0]);
    drawHead();
    selectFlare(flareSlots[1]);
    drawGlowTrail();

    tintedCombine();
    selectFlare(flareSlots[0]);
    drawBigStars();

    grBufferSwap(1);
}
