#include "glide/device.h"
#include "glide/fog.h"
#include "glide/raster.h"

#include <cmath>

static int texelIndex(float coordinate, float oow, int size) {
    double u = static_cast<double>(coordinate) / oow * size / 256.0;
    if (!(u > 0.0)) return 0;
    if (u >= size) return size - 1;
    return static_cast<int>(u);
}

void FX_CALL grDrawPoint(const GrVertex *p) {
    const GlideDevice &d = glideDevice;
    if (!d.open || !p) return;
    if (!(std::fabs(p->x) < 16384.0f) || !(std::fabs(p->y) < 16384.0f)) return;
    // Round to the 1/16 pixel grid first, then take the pixel containing it.
    int x = static_cast<int>(std::floor(std::nearbyint(p->x * 16.0) / 16.0));
    int y = static_cast<int>(std::floor(std::nearbyint(p->y * 16.0) / 16.0));
    if (x < d.clipMinX || x >= d.clipMaxX || y < d.clipMinY || y >= d.clipMaxY) return;

    FragmentInput in;
    in.r = clampChannel(p->r);
    in.g = clampChannel(p->g);
    in.b = clampChannel(p->b);
    in.a = clampChannel(p->a);
    in.fog = fogFactor(p->oow);
    in.texel = 0;
    if (const std::uint32_t *texels = currentTexels()) {
        int size = d.texture.size;
        in.texel = texels[texelIndex(p->tmuvtx[0].tow, p->oow, size) * size +
                          texelIndex(p->tmuvtx[0].sow, p->oow, size)];
    }
    noteRenderBufferWrite();
    shadeFragment(renderTarget() + y * DISPLAY_WIDTH + x, x, y, in);
}
