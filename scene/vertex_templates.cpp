#include "scene/scene.h"

namespace {

GrVertex colouredVertex(float r, float g, float b, float a) {
    GrVertex v = {};
    v.r = r;
    v.g = g;
    v.b = b;
    v.a = a;
    return v;
}

GrVertex backgroundVertex(float r, float g, float b) {
    GrVertex v = colouredVertex(r, g, b, 255.0f);
    v.oow = 1.0f;
    return v;
}

GrVertex spriteVertex(float x, float y, float g, float b, float sow, float tow) {
    GrVertex v = colouredVertex(0.0f, g, b, 255.0f);
    v.x = x;
    v.y = y;
    v.oow = 1.0f;
    v.tmuvtx[0].sow = sow;
    v.tmuvtx[0].tow = tow;
    return v;
}

} // namespace

void prepareVertexTemplates() {
    // These three draws come before the generator is seeded, so they are
    // always the same.
    float r = static_cast<float>(128 + drawSceneRandom() % 128);
    float g = static_cast<float>(128 + drawSceneRandom() % 128);
    float b = static_cast<float>(200 + drawSceneRandom() % 56);
    PointVertex = colouredVertex(r, g, b, 25.0f);
    TailMidVertex = colouredVertex(255.0f, 200.0f, 0.0f, 25.0f);
    TailBackVertex = colouredVertex(255.0f, 0.0f, 0.0f, 25.0f);

    BackgroundVertex0 = backgroundVertex(0.0f, 0.0f, 0.0f);
    BackgroundVertex1 = backgroundVertex(0.0f, 0.0f, 0.0f);
    BackgroundVertex2 = backgroundVertex(26.0f, 0.0f, 26.0f);
    BackgroundVertex3 = backgroundVertex(0.0f, 0.0f, 26.0f);

    // The 256 x 256 square centred on the screen that the logo intro shows.
    SpriteVertex0 = spriteVertex(192.0f, 112.0f, 250.0f, 255.0f, 0.0f, 0.0f);
    SpriteVertex1 = spriteVertex(448.0f, 112.0f, 250.0f, 255.0f, 255.0f, 0.0f);
    SpriteVertex2 = spriteVertex(192.0f, 368.0f, 255.0f, 250.0f, 0.0f, 255.0f);
    SpriteVertex3 = spriteVertex(448.0f, 368.0f, 250.0f, 255.0f, 255.0f, 255.0f);
}
