// The reference pipeline of one fragment: texture unit, colour and alpha
// combine, fog, blend, dither. The fast span loops compute the same values
// for the states they cover.
#include "glide/device.h"
#include "glide/pixel.h"
#include "glide/raster.h"

namespace {

const std::uint8_t NO_DITHER[4] = {0, 0, 0, 0};
std::uint8_t dither2x2[2][4];
bool dither2x2Ready;

struct Rgba {
    int r, g, b, a;
};

Rgba fromColour(std::uint32_t c) {
    return Rgba{static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>(c & 0xFF), static_cast<int>(c >> 24)};
}

int combineChannel(const CombineState &state, int local, int other, int localFactor) {
    int value = 0;
    if (state.function == GR_COMBINE_FUNCTION_LOCAL) {
        value = local;
    } else if (state.function == GR_COMBINE_FUNCTION_SCALE_OTHER) {
        if (state.factor == GR_COMBINE_FACTOR_ONE)
            value = other;
        else if (state.factor == GR_COMBINE_FACTOR_LOCAL)
            value = mul255(localFactor, other);
    }
    return state.invert ? 255 - value : value;
}

int blendFactor(GrAlphaBlendFnc_t f, int alpha) {
    if (f == GR_BLEND_ONE) return 255;
    if (f == GR_BLEND_SRC_ALPHA) return alpha;
    return 0;
}

} // namespace

int clampChannel(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return static_cast<int>(v);
}

const std::uint8_t *ditherRow(int y) {
    if (glideDevice.ditherMode == GR_DITHER_4x4) return DITHER_MATRIX[y & 3];
    if (glideDevice.ditherMode == GR_DITHER_2x2) {
        if (!dither2x2Ready) {
            for (int row = 0; row < 2; ++row)
                for (int x = 0; x < 4; ++x)
                    dither2x2[row][x] = DITHER_MATRIX[row][x & 1];
            dither2x2Ready = true;
        }
        return dither2x2[y & 1];
    }
    return NO_DITHER;
}

void shadeFragment(std::uint16_t *pixel, int x, int y, const FragmentInput &in) {
    const GlideDevice &d = glideDevice;
    Rgba texel = fromColour(in.texel);
    const TextureCombine &tc = d.textureCombine;
    Rgba tex{0, 0, 0, 0};
    if (tc.rgbLocal) tex.r = texel.r, tex.g = texel.g, tex.b = texel.b;
    if (tc.rgbInvert) tex.r = 255 - tex.r, tex.g = 255 - tex.g, tex.b = 255 - tex.b;
    if (tc.alphaLocal) tex.a = texel.a;
    if (tc.alphaInvert) tex.a = 255 - tex.a;

    Rgba iterated{in.r, in.g, in.b, in.a};
    Rgba constant = fromColour(d.constantColour);

    const CombineState &cc = d.colourCombine;
    const Rgba &cLocal = cc.local == GR_COMBINE_LOCAL_CONSTANT ? constant : iterated;
    const Rgba &cOther = cc.other == GR_COMBINE_OTHER_TEXTURE    ? tex
                         : cc.other == GR_COMBINE_OTHER_CONSTANT ? constant
                                                                 : iterated;
    int r = combineChannel(cc, cLocal.r, cOther.r, cLocal.r);
    int g = combineChannel(cc, cLocal.g, cOther.g, cLocal.g);
    int b = combineChannel(cc, cLocal.b, cOther.b, cLocal.b);

    const CombineState &ac = d.alphaCombine;
    int aLocal = ac.local == GR_COMBINE_LOCAL_CONSTANT ? constant.a : iterated.a;
    int aOther = ac.other == GR_COMBINE_OTHER_TEXTURE    ? tex.a
                 : ac.other == GR_COMBINE_OTHER_CONSTANT ? constant.a
                                                         : iterated.a;
    int a = combineChannel(ac, aLocal, aOther, aLocal);

    if (in.fog > 0) {
        Rgba fog = fromColour(d.fogColour);
        int keep = 255 - in.fog;
        r = div255(in.fog * fog.r + keep * r);
        g = div255(in.fog * fog.g + keep * g);
        b = div255(in.fog * fog.b + keep * b);
    }

    int sf = blendFactor(d.blendSrc, a);
    int df = blendFactor(d.blendDst, a);
    r = mul255(r, sf);
    g = mul255(g, sf);
    b = mul255(b, sf);
    if (df) {
        std::uint16_t dst = *pixel;
        r += mul255(pixelRed(dst), df);
        g += mul255(pixelGreen(dst), df);
        b += mul255(pixelBlue(dst), df);
        if (r > 255) r = 255;
        if (g > 255) g = 255;
        if (b > 255) b = 255;
    }
    *pixel = packPixel(r, g, b, ditherRow(y)[x & 3]);
}
