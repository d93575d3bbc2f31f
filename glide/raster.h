// What triangle setup hands the span loops: attribute planes, the constant
// parts of the pipeline and the loop chosen for the current state.
#ifndef COMET_GLIDE_RASTER_H
#define COMET_GLIDE_RASTER_H

#include <cstdint>

// An attribute as a plane over the screen: its value at the centre of pixel
// (x, y) is at0 + x * dx + y * dy.
struct Plane {
    double at0, dx, dy;
    double at(int x, int y) const { return at0 + x * dx + y * dy; }
};

// The same in 16.16 fixed point, for the span loops.
struct FixedPlane {
    std::int64_t at0, dx, dy;
    bool ok;
};

const int MAX_TEXTURE_EDGE = 256;

struct TriangleSetup;
typedef void (*SpanFn)(const TriangleSetup &t, int y, int x0, int x1);

struct TriangleSetup {
    // Iterated colour and alpha (0..255), or the tint that scales texels.
    Plane r, g, b, a;
    // Texture coordinates in texels; with perspective they are s/w and t/w
    // scaled to texels, divided per pixel by the oow plane.
    Plane u, v, oow;
    FixedPlane fixedR, fixedG, fixedB, fixedA, fixedU, fixedV;
    bool perspective;
    int fog; // fog factor when oow is constant
    const std::uint32_t *texels;
    int texShift; // log2 of the texture's edge
    // Per texel row, the first and last column with alpha above zero.
    const std::int16_t *firstOpaque, *lastOpaque;
    // Screen columns [columnsFrom, columnsTo) hold every span of the triangle.
    int columnsFrom, columnsTo;
    // When u depends on the column alone and v on the row alone (sprites),
    // the texel column of each screen column, clamped to -1..size; else null.
    const std::int32_t *columns;
    // When those columns rise with x: for c = 0..size, the first screen
    // column whose texel column is at least c (columnsTo if none); else null.
    const std::int32_t *firstAtColumn;
    bool flatColour;                   // colour planes constant and inside 0..255
    const std::uint8_t *ditherRows[4]; // by y & 3
    std::uint16_t *target;
    SpanFn span;
};

// Inputs of one fragment, before the texture unit and the combine units.
struct FragmentInput {
    int r, g, b, a;      // iterated, 0..255
    std::uint32_t texel; // ARGB as sampled, 0 without a texture
    int fog;             // 0..255
};

// The whole pipeline for one pixel, from the current state.
void shadeFragment(std::uint16_t *pixel, int x, int y, const FragmentInput &in);

// The dither levels of row y, one per x & 3, for the current dither mode.
const std::uint8_t *ditherRow(int y);

// Chooses the span loop for the current state; fills the colour planes it
// needs when the colour source is constant.
void chooseSpanLoop(TriangleSetup &t);
// When false every span takes the general loop, so tests can hold the
// specialised loops to its pixels.
extern bool specialisedSpanLoops;
void spanGeneral(const TriangleSetup &t, int y, int x0, int x1);

int clampChannel(double v);

// std::llround without the library call: the fraction of a double below
// 2^52 is exact, so comparing it with one half rounds the same way.
inline std::int64_t roundHalfAway(double v) {
    std::int64_t whole = static_cast<std::int64_t>(v);
    double fraction = v - static_cast<double>(whole);
    if (fraction >= 0.5) return whole + 1;
    if (fraction <= -0.5) return whole - 1;
    return whole;
}

#endif
