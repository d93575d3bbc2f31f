#include "tests/native/glide/device_fixture.h"

bool openDevice() {
    GrHwConfiguration hw;
    grGlideInit();
    if (!grSstQueryHardware(&hw)) return false;
    grSstSelect(0);
    return grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB, GR_ORIGIN_UPPER_LEFT,
                        2, 0) == FXTRUE;
}

GrVertex makeVertex(float x, float y, float r, float g, float b, float a) {
    GrVertex v = {};
    v.x = x;
    v.y = y;
    v.r = r;
    v.g = g;
    v.b = b;
    v.a = a;
    v.oow = 1.0f;
    return v;
}

void drawRect(float x0, float y0, float x1, float y1, Rgb c, float alpha, float oow) {
    GrVertex v[4] = {makeVertex(x0, y0, c.r, c.g, c.b, alpha), makeVertex(x1, y0, c.r, c.g, c.b, alpha),
                     makeVertex(x0, y1, c.r, c.g, c.b, alpha), makeVertex(x1, y1, c.r, c.g, c.b, alpha)};
    v[1].tmuvtx[0].sow = v[3].tmuvtx[0].sow = 256.0f;
    v[2].tmuvtx[0].tow = v[3].tmuvtx[0].tow = 256.0f;
    for (GrVertex &p : v) {
        p.oow = oow;
        p.tmuvtx[0].sow *= oow;
        p.tmuvtx[0].tow *= oow;
    }
    grDrawTriangle(&v[0], &v[1], &v[2]);
    grDrawTriangle(&v[1], &v[3], &v[2]);
}

void useFlatOpaque() {
    grColorCombine(GR_COMBINE_FUNCTION_LOCAL, GR_COMBINE_FACTOR_NONE, GR_COMBINE_LOCAL_ITERATED,
                   GR_COMBINE_OTHER_ITERATED, FXFALSE);
    grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ONE, GR_BLEND_ZERO);
}

void fillScreen(Rgb colour) {
    useFlatOpaque();
    drawRect(0, 0, 640, 480, colour);
}

std::uint16_t readPixel(GrBuffer_t buffer, int x, int y) {
    std::uint16_t p = 0;
    EXPECT_EQ(grLfbReadRegion(buffer, x, y, 1, 1, 2, &p), FXTRUE);
    return p;
}

Rgb widen(std::uint16_t p) {
    int r = p >> 11, g = (p >> 5) & 63, b = p & 31;
    return Rgb{(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
}

int exact5(int v) {
    return (v << 3) | (v >> 2);
}
int exact6(int v) {
    return (v << 2) | (v >> 4);
}

GrTexInfo smallTexture(GrTextureFormat_t format, void *data) {
    return GrTexInfo{LOD_8, LOD_8, GR_ASPECT_1x1, format, data};
}
