#include "glide/fog.h"

#include "glide/device.h"

#include <cmath>

// Entry i stands for w = 2^(3 + i/4) / (8 - i%4): four steps an octave.
double fogTableW(int i) {
    return std::ldexp(1.0, 3 + (i >> 2)) / (8 - (i & 3));
}

int fogFactor(float oow) {
    if (glideDevice.fogMode != GR_FOG_WITH_TABLE) return 0;
    const GrFog_t *table = glideDevice.fogTable;
    // Also catches a NaN or non-positive oow: treated as the far end.
    double w = oow > 0.0f ? 1.0 / oow : HUGE_VAL;
    if (w <= 1.0) return table[0];
    if (!(w < fogTableW(GR_FOG_TABLE_SIZE - 1))) return table[GR_FOG_TABLE_SIZE - 1];
    int exponent;
    double mantissa = std::frexp(w, &exponent); // w = mantissa * 2^exponent, mantissa in [0.5, 1)
    int octave = exponent - 1;                  // w in [2^octave, 2^(octave + 1))
    int step = static_cast<int>(8.0 - 4.0 / mantissa);
    if (step > 3) step = 3;
    int i = octave * 4 + step;
    if (i > GR_FOG_TABLE_SIZE - 2) i = GR_FOG_TABLE_SIZE - 2;
    double lo = fogTableW(i);
    double hi = fogTableW(i + 1);
    double t = (w - lo) / (hi - lo);
    if (t < 0.0) t = 0.0;
    if (t > 1.0) t = 1.0;
    return static_cast<int>(table[i] + (table[i + 1] - table[i]) * t);
}

void FX_CALL guFogGenerateLinear(GrFog_t *fogTable, float nearW, float farW) {
    if (!fogTable) return;
    double range = static_cast<double>(farW) - nearW;
    for (int i = 0; i < GR_FOG_TABLE_SIZE; ++i) {
        double f = range > 0.0 ? (fogTableW(i) - nearW) / range : (fogTableW(i) >= farW ? 1.0 : 0.0);
        if (!(f > 0.0)) f = 0.0;
        if (f > 1.0) f = 1.0;
        fogTable[i] = static_cast<GrFog_t>(std::floor(255.0 * f));
    }
}

void FX_CALL grFogTable(const GrFog_t *table) {
    if (!table) return;
    for (int i = 0; i < GR_FOG_TABLE_SIZE; ++i)
        glideDevice.fogTable[i] = table[i];
}

void FX_CALL grFogColorValue(GrColor_t color) {
    glideDevice.fogColour = color;
}

void FX_CALL grFogMode(GrFogMode_t mode) {
    if (mode == GR_FOG_DISABLE || mode == GR_FOG_WITH_TABLE) glideDevice.fogMode = mode;
}
