// Span loops: one specialised loop for each state combination the saver
// draws with, and the general loop that runs the full pipeline per pixel.
// A specialised loop falls back to the general one for a span whose
// attributes would leave their range, so it never needs per-pixel clamps.
#include "glide/device.h"
#include "glide/fog.h"
#include "glide/pixel.h"
#include "glide/raster.h"
#include "glide/spans_simd.h"

#include <cmath>

namespace {

const std::int32_t CHANNEL_MAX = (256 << 16) - 1;

// A fixed-point (16.16) walk of a plane along a span.
struct Walk {
    std::int32_t value, step;
};

// True when every pixel of the span stays inside [0, limit].
bool walkSpan(const FixedPlane &p, int x0, int y, int n, std::int32_t limit, Walk &w) {
    if (!p.ok) return false;
    std::int64_t start = p.at0 + x0 * p.dx + y * p.dy;
    std::int64_t end = start + (n - 1) * p.dx;
    if (start < 0 || start > limit || end < 0 || end > limit) return false;
    w.value = static_cast<std::int32_t>(start);
    w.step = static_cast<std::int32_t>(p.dx);
    return true;
}

// Colours come from vertex values clamped to 0..255, so only rounding can
// take a span end out of range; pull it back instead of leaving the loop.
bool walkChannel(const FixedPlane &p, int x0, int y, int n, Walk &w) {
    if (walkSpan(p, x0, y, n, CHANNEL_MAX, w)) return true;
    if (!p.ok) return false;
    std::int64_t start = p.at0 + x0 * p.dx + y * p.dy;
    std::int64_t end = start + (n - 1) * p.dx;
    const std::int64_t slack = 65536;
    if (start < -slack || start > CHANNEL_MAX + slack || end < -slack || end > CHANNEL_MAX + slack)
        return false;
    std::int32_t s = static_cast<std::int32_t>(start < 0 ? 0 : start > CHANNEL_MAX ? CHANNEL_MAX : start);
    std::int32_t e = static_cast<std::int32_t>(end < 0 ? 0 : end > CHANNEL_MAX ? CHANNEL_MAX : end);
    w.value = s;
    w.step = n > 1 ? (e - s) / (n - 1) : 0;
    return true;
}

struct ColourWalk {
    Walk r, g, b;
};

bool walkColour(const TriangleSetup &t, int x0, int y, int n, ColourWalk &c) {
    if (t.flatColour) {
        c = ColourWalk{{static_cast<std::int32_t>(t.fixedR.at0), 0},
                       {static_cast<std::int32_t>(t.fixedG.at0), 0},
                       {static_cast<std::int32_t>(t.fixedB.at0), 0}};
        return true;
    }
    return walkChannel(t.fixedR, x0, y, n, c.r) && walkChannel(t.fixedG, x0, y, n, c.g) &&
           walkChannel(t.fixedB, x0, y, n, c.b);
}

struct TexWalk {
    Walk u, v;
};

bool walkTexture(const TriangleSetup &t, int x0, int y, int n, TexWalk &tw) {
    std::int32_t limit = (1 << (t.texShift + 16)) - 1;
    return walkSpan(t.fixedU, x0, y, n, limit, tw.u) && walkSpan(t.fixedV, x0, y, n, limit, tw.v);
}

inline std::uint32_t fetch(const TriangleSetup &t, const TexWalk &tw) {
    return t.texels[((tw.v.value >> 16) << t.texShift) + (tw.u.value >> 16)];
}

inline void stepTexture(TexWalk &tw) {
    tw.u.value += tw.u.step;
    tw.v.value += tw.v.step;
}

inline void stepColour(ColourWalk &c) {
    c.r.value += c.r.step;
    c.g.value += c.g.step;
    c.b.value += c.b.step;
}

std::int32_t columnTable[DISPLAY_WIDTH];
std::int32_t firstAtColumnTable[MAX_TEXTURE_EDGE + 1];

// Sprites: v follows the row and u the column, so a span reads one texture
// row through the column table. With trim, pixels at either end whose texel
// is fully transparent are dropped: additive blending leaves them as they
// are. False when the span leaves the texture; the caller walks it instead.
bool spriteRow(const TriangleSetup &t, int y, int &x0, int &x1, bool trim, const std::uint32_t *&line) {
    int size = 1 << t.texShift;
    std::int64_t v = t.fixedV.at0 + y * t.fixedV.dy;
    if (v < 0 || (v >> 16) >= size) return false;
    int row = static_cast<int>(v >> 16);
    const std::int32_t *at = t.firstAtColumn;
    if (at) {
        if (x0 < at[0] || x1 > at[size]) return false;
        if (trim) {
            std::int32_t from = at[t.firstOpaque[row]], to = at[t.lastOpaque[row] + 1];
            if (x0 < from) x0 = from;
            if (x1 > to) x1 = to;
            if (x1 < x0) x1 = x0;
        }
    } else {
        // The table is monotonic, so checking both ends covers the span.
        const std::int32_t *column = t.columns;
        if (x0 < t.columnsFrom || x1 > t.columnsTo) return false;
        if (column[x0] < 0 || column[x0] >= size || column[x1 - 1] < 0 || column[x1 - 1] >= size)
            return false;
    }
    line = t.texels + (row << t.texShift);
    return true;
}

// What the tables were last filled for: the two triangles of a sprite share
// their u plane and columns, so the second reuses the first one's tables.
struct ColumnsFilled {
    bool valid;
    std::int64_t at0, dx;
    int from, to, texShift;
};
ColumnsFilled columnsFilled;

void fillColumns(TriangleSetup &t) {
    const FixedPlane &u = t.fixedU;
    bool rising = u.dx > 0;
    t.columns = columnTable;
    t.firstAtColumn = rising ? firstAtColumnTable : nullptr;
    ColumnsFilled &last = columnsFilled;
    if (last.valid && last.at0 == u.at0 && last.dx == u.dx && last.from == t.columnsFrom &&
        last.to == t.columnsTo && last.texShift == t.texShift)
        return;
    last = ColumnsFilled{true, u.at0, u.dx, t.columnsFrom, t.columnsTo, t.texShift};
    int size = 1 << t.texShift;
    // While the columns rise, each one also ends the run of texel columns it
    // is the first to reach.
    int reached = 0;
    for (int x = t.columnsFrom; x < t.columnsTo; ++x) {
        std::int64_t value = u.at0 + x * u.dx;
        std::int64_t column = value < 0 ? -1 : value >> 16;
        int clamped = static_cast<int>(column > size ? size : column);
        columnTable[x] = clamped;
        if (rising)
            while (reached <= clamped)
                firstAtColumnTable[reached++] = x;
    }
    while (reached <= size)
        firstAtColumnTable[reached++] = t.columnsTo;
}

#ifdef COMET_GLIDE_SIMD
DitherRow8 ditherCache[4];

// Texel fetches stay scalar (SSE2 has no gather); the arithmetic after them
// runs on all eight at once. Lanes past count get a transparent texel, so
// the walk never leaves the span.
inline Texels8 fetch8(const TriangleSetup &t, TexWalk &tw, int count) {
    std::uint32_t texels[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    if (tw.v.step == 0) {
        // Sprites map rows to rows: one texture row serves the whole span.
        const std::uint32_t *line = t.texels + ((tw.v.value >> 16) << t.texShift);
        for (int k = 0; k < count; ++k) {
            texels[k] = line[tw.u.value >> 16];
            tw.u.value += tw.u.step;
        }
    } else {
        for (int k = 0; k < count; ++k) {
            texels[k] = fetch(t, tw);
            stepTexture(tw);
        }
    }
    return split8(_mm_setr_epi32(texels[0], texels[1], texels[2], texels[3]),
                  _mm_setr_epi32(texels[4], texels[5], texels[6], texels[7]));
}

inline Texels8 gather8(const std::uint32_t *line, const std::int32_t *column, int count) {
    if (count == 8)
        return split8(_mm_setr_epi32(static_cast<int>(line[column[0]]), static_cast<int>(line[column[1]]),
                                     static_cast<int>(line[column[2]]), static_cast<int>(line[column[3]])),
                      _mm_setr_epi32(static_cast<int>(line[column[4]]), static_cast<int>(line[column[5]]),
                                     static_cast<int>(line[column[6]]), static_cast<int>(line[column[7]])));
    std::uint32_t texels[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    for (int k = 0; k < count; ++k)
        texels[k] = line[column[k]];
    return split8(_mm_setr_epi32(texels[0], texels[1], texels[2], texels[3]),
                  _mm_setr_epi32(texels[4], texels[5], texels[6], texels[7]));
}

// The last block of a span may be short. Where the row has eight pixels
// from x it is still read whole and the lanes past the span are written back
// as they were; at the row's end it goes through a copy, so the vector loop
// never touches memory outside the row.
inline __m128i loadBlock(const std::uint16_t *row, int x, int count) {
    if (count == 8 || x + 8 <= DISPLAY_WIDTH) return load8(row + x);
    std::uint16_t part[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    for (int k = 0; k < count; ++k)
        part[k] = row[x + k];
    return load8(part);
}

inline void storeBlock(std::uint16_t *row, int x, __m128i v, int count) {
    if (count == 8) return store8(row + x, v);
    if (x + 8 <= DISPLAY_WIDTH) {
        __m128i inside = _mm_cmplt_epi16(_mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7),
                                         _mm_set1_epi16(static_cast<short>(count)));
        __m128i before = load8(row + x);
        return store8(row + x, _mm_or_si128(_mm_and_si128(inside, v), _mm_andnot_si128(inside, before)));
    }
    std::uint16_t part[8];
    store8(part, v);
    for (int k = 0; k < count; ++k)
        row[x + k] = part[k];
}

inline int blockCount(int x, int x1) {
    return x1 - x < 8 ? x1 - x : 8;
}

// Additive blending of a zero contribution gives the pixel back unchanged
// (a widened 565 value dithers back to itself), so such a block is skipped.
inline bool transparent8(const Texels8 &tx) {
    return _mm_movemask_epi8(_mm_cmpeq_epi16(tx.a, _mm_setzero_si128())) == 0xFFFF;
}
#endif

inline int sat(int v) {
    return v > 255 ? 255 : v;
}

inline std::uint16_t addPixel(std::uint16_t dst, int r, int g, int b, int d) {
    return packPixel(sat(pixelRed(dst) + r), sat(pixelGreen(dst) + g), sat(pixelBlue(dst) + b), d);
}

// Opaque Gouraud: the background bands.
void spanGouraud(const TriangleSetup &t, int y, int x0, int x1) {
    ColourWalk c;
    if (!walkColour(t, x0, y, x1 - x0, c)) return spanGeneral(t, y, x0, x1);
    const std::uint8_t *row = t.ditherRows[y & 3];
    std::uint16_t *p = t.target + y * DISPLAY_WIDTH;
#ifdef COMET_GLIDE_SIMD
    Dither8 d = dither8(ditherCache[y & 3], row, x0);
    Walk8 wr = walk8(c.r.value, c.r.step), wg = walk8(c.g.value, c.g.step), wb = walk8(c.b.value, c.b.step);
    for (int x = x0; x < x1; x += 8) {
        __m128i r = next8(wr), g = next8(wg), b = next8(wb);
        storeBlock(p, x, pack565x8(r, g, b, d), blockCount(x, x1));
    }
#else
    for (int x = x0; x < x1; ++x) {
        p[x] = packPixel(c.r.value >> 16, c.g.value >> 16, c.b.value >> 16, row[x & 3]);
        stepColour(c);
    }
#endif
}

// Additive, colour and alpha from planes: the comet's tail.
void spanAddFlat(const TriangleSetup &t, int y, int x0, int x1) {
    int n = x1 - x0;
    ColourWalk c;
    Walk a;
    if (!walkColour(t, x0, y, n, c) || !walkChannel(t.fixedA, x0, y, n, a)) return spanGeneral(t, y, x0, x1);
    const std::uint8_t *row = t.ditherRows[y & 3];
    std::uint16_t *p = t.target + y * DISPLAY_WIDTH;
#ifdef COMET_GLIDE_SIMD
    Dither8 d = dither8(ditherCache[y & 3], row, x0);
    Walk8 wr = walk8(c.r.value, c.r.step), wg = walk8(c.g.value, c.g.step), wb = walk8(c.b.value, c.b.step),
          wa = walk8(a.value, a.step);
    for (int x = x0; x < x1; x += 8) {
        int count = blockCount(x, x1);
        __m128i alpha = next8(wa), r = next8(wr), g = next8(wg), b = next8(wb);
        storeBlock(
            p, x,
            add565x8(loadBlock(p, x, count), mul255x8(r, alpha), mul255x8(g, alpha), mul255x8(b, alpha), d),
            count);
    }
#else
    for (int x = x0; x < x1; ++x) {
        int alpha = a.value >> 16;
        p[x] = addPixel(p[x], mul255(c.r.value >> 16, alpha), mul255(c.g.value >> 16, alpha),
                        mul255(c.b.value >> 16, alpha), row[x & 3]);
        stepColour(c);
        a.value += a.step;
    }
#endif
}

// Additive, texel colour weighted by texel alpha: head and glows.
void spanAddTexture(const TriangleSetup &t, int y, int x0, int x1) {
    TexWalk tw;
    if (!walkTexture(t, x0, y, x1 - x0, tw)) return spanGeneral(t, y, x0, x1);
    const std::uint8_t *row = t.ditherRows[y & 3];
    std::uint16_t *p = t.target + y * DISPLAY_WIDTH;
#ifdef COMET_GLIDE_SIMD
    Dither8 d = dither8(ditherCache[y & 3], row, x0);
    for (int x = x0; x < x1; x += 8) {
        int count = blockCount(x, x1);
        Texels8 tx = fetch8(t, tw, count);
        if (transparent8(tx)) continue;
        storeBlock(p, x,
                   add565x8(loadBlock(p, x, count), mul255x8(tx.r, tx.a), mul255x8(tx.g, tx.a),
                            mul255x8(tx.b, tx.a), d),
                   count);
    }
#else
    for (int x = x0; x < x1; ++x) {
        std::uint32_t texel = fetch(t, tw);
        int alpha = static_cast<int>(texel >> 24);
        p[x] = addPixel(p[x], mul255((texel >> 16) & 0xFF, alpha), mul255((texel >> 8) & 0xFF, alpha),
                        mul255(texel & 0xFF, alpha), row[x & 3]);
        stepTexture(tw);
    }
#endif
}

// Additive, texel colour scaled by the iterated colour: the big stars.
void spanAddTint(const TriangleSetup &t, int y, int x0, int x1) {
    int n = x1 - x0;
    TexWalk tw;
    ColourWalk c;
    if (!walkTexture(t, x0, y, n, tw) || !walkColour(t, x0, y, n, c)) return spanGeneral(t, y, x0, x1);
    const std::uint8_t *row = t.ditherRows[y & 3];
    std::uint16_t *p = t.target + y * DISPLAY_WIDTH;
#ifdef COMET_GLIDE_SIMD
    Dither8 d = dither8(ditherCache[y & 3], row, x0);
    Walk8 wr = walk8(c.r.value, c.r.step), wg = walk8(c.g.value, c.g.step), wb = walk8(c.b.value, c.b.step);
    for (int x = x0; x < x1; x += 8) {
        int count = blockCount(x, x1);
        __m128i tintR = next8(wr), tintG = next8(wg), tintB = next8(wb);
        Texels8 tx = fetch8(t, tw, count);
        if (transparent8(tx)) continue;
        __m128i r = mul255x8(tx.r, tintR), g = mul255x8(tx.g, tintG), b = mul255x8(tx.b, tintB);
        storeBlock(
            p, x,
            add565x8(loadBlock(p, x, count), mul255x8(r, tx.a), mul255x8(g, tx.a), mul255x8(b, tx.a), d),
            count);
    }
#else
    for (int x = x0; x < x1; ++x) {
        std::uint32_t texel = fetch(t, tw);
        int alpha = static_cast<int>(texel >> 24);
        int r = mul255((texel >> 16) & 0xFF, c.r.value >> 16);
        int g = mul255((texel >> 8) & 0xFF, c.g.value >> 16);
        int b = mul255(texel & 0xFF, c.b.value >> 16);
        p[x] = addPixel(p[x], mul255(r, alpha), mul255(g, alpha), mul255(b, alpha), row[x & 3]);
        stepTexture(tw);
        stepColour(c);
    }
#endif
}

// Head and glows drawn as sprites.
void spanAddTextureSprite(const TriangleSetup &t, int y, int x0, int x1) {
    const std::uint32_t *line;
    if (!spriteRow(t, y, x0, x1, true, line)) return spanAddTexture(t, y, x0, x1);
    const std::uint8_t *row = t.ditherRows[y & 3];
    std::uint16_t *p = t.target + y * DISPLAY_WIDTH;
    const std::int32_t *column = t.columns;
#ifdef COMET_GLIDE_SIMD
    Dither8 d = dither8(ditherCache[y & 3], row, x0);
    for (int x = x0; x < x1; x += 8) {
        int count = blockCount(x, x1);
        Texels8 tx = gather8(line, column + x, count);
        if (transparent8(tx)) continue;
        storeBlock(p, x,
                   add565x8(loadBlock(p, x, count), mul255x8(tx.r, tx.a), mul255x8(tx.g, tx.a),
                            mul255x8(tx.b, tx.a), d),
                   count);
    }
#else
    for (int x = x0; x < x1; ++x) {
        std::uint32_t texel = line[column[x]];
        int alpha = static_cast<int>(texel >> 24);
        p[x] = addPixel(p[x], mul255((texel >> 16) & 0xFF, alpha), mul255((texel >> 8) & 0xFF, alpha),
                        mul255(texel & 0xFF, alpha), row[x & 3]);
    }
#endif
}

// Big stars: sprites of one tint.
void spanAddTintSprite(const TriangleSetup &t, int y, int x0, int x1) {
    const std::uint32_t *line;
    if (!spriteRow(t, y, x0, x1, true, line)) return spanAddTint(t, y, x0, x1);
    const std::uint8_t *row = t.ditherRows[y & 3];
    std::uint16_t *p = t.target + y * DISPLAY_WIDTH;
    const std::int32_t *column = t.columns;
    int tintR = static_cast<int>(t.fixedR.at0 >> 16), tintG = static_cast<int>(t.fixedG.at0 >> 16),
        tintB = static_cast<int>(t.fixedB.at0 >> 16);
#ifdef COMET_GLIDE_SIMD
    Dither8 d = dither8(ditherCache[y & 3], row, x0);
    __m128i vr = _mm_set1_epi16(static_cast<short>(tintR)), vg = _mm_set1_epi16(static_cast<short>(tintG)),
            vb = _mm_set1_epi16(static_cast<short>(tintB));
    for (int x = x0; x < x1; x += 8) {
        int count = blockCount(x, x1);
        Texels8 tx = gather8(line, column + x, count);
        if (transparent8(tx)) continue;
        __m128i r = mul255x8(tx.r, vr), g = mul255x8(tx.g, vg), b = mul255x8(tx.b, vb);
        storeBlock(
            p, x,
            add565x8(loadBlock(p, x, count), mul255x8(r, tx.a), mul255x8(g, tx.a), mul255x8(b, tx.a), d),
            count);
    }
#else
    for (int x = x0; x < x1; ++x) {
        std::uint32_t texel = line[column[x]];
        int alpha = static_cast<int>(texel >> 24);
        int r = mul255((texel >> 16) & 0xFF, tintR);
        int g = mul255((texel >> 8) & 0xFF, tintG);
        int b = mul255(texel & 0xFF, tintB);
        p[x] = addPixel(p[x], mul255(r, alpha), mul255(g, alpha), mul255(b, alpha), row[x & 3]);
    }
#endif
}

// Opaque, texel colour scaled by a colour: the logo intro.
void spanOpaqueTint(const TriangleSetup &t, int y, int x0, int x1) {
    int n = x1 - x0;
    TexWalk tw;
    ColourWalk c;
    if (!walkTexture(t, x0, y, n, tw) || !walkColour(t, x0, y, n, c)) return spanGeneral(t, y, x0, x1);
    const std::uint8_t *row = t.ditherRows[y & 3];
    std::uint16_t *p = t.target + y * DISPLAY_WIDTH;
#ifdef COMET_GLIDE_SIMD
    Dither8 d = dither8(ditherCache[y & 3], row, x0);
    Walk8 wr = walk8(c.r.value, c.r.step), wg = walk8(c.g.value, c.g.step), wb = walk8(c.b.value, c.b.step);
    for (int x = x0; x < x1; x += 8) {
        int count = blockCount(x, x1);
        Texels8 tx = fetch8(t, tw, count);
        __m128i r = next8(wr), g = next8(wg), b = next8(wb);
        storeBlock(p, x, pack565x8(mul255x8(tx.r, r), mul255x8(tx.g, g), mul255x8(tx.b, b), d), count);
    }
#else
    for (int x = x0; x < x1; ++x) {
        std::uint32_t texel = fetch(t, tw);
        p[x] = packPixel(mul255((texel >> 16) & 0xFF, c.r.value >> 16),
                         mul255((texel >> 8) & 0xFF, c.g.value >> 16), mul255(texel & 0xFF, c.b.value >> 16),
                         row[x & 3]);
        stepTexture(tw);
        stepColour(c);
    }
#endif
}

int clampTexel(double u, int size) {
    if (!(u > 0.0)) return 0;
    if (u >= size) return size - 1;
    return static_cast<int>(u);
}

// What a combine unit yields, as far as the fast loops care.
enum Source {
    SRC_ITERATED,
    SRC_CONSTANT,
    SRC_TEXTURE,
    SRC_ITERATED_TEXTURE,
    SRC_CONSTANT_TEXTURE,
    SRC_OTHER
};

Source classify(const CombineState &c) {
    if (c.invert) return SRC_OTHER;
    if (c.function == GR_COMBINE_FUNCTION_LOCAL)
        return c.local == GR_COMBINE_LOCAL_CONSTANT ? SRC_CONSTANT : SRC_ITERATED;
    if (c.function != GR_COMBINE_FUNCTION_SCALE_OTHER) return SRC_OTHER;
    if (c.factor == GR_COMBINE_FACTOR_ONE) {
        if (c.other == GR_COMBINE_OTHER_TEXTURE) return SRC_TEXTURE;
        return c.other == GR_COMBINE_OTHER_CONSTANT ? SRC_CONSTANT : SRC_ITERATED;
    }
    if (c.factor == GR_COMBINE_FACTOR_LOCAL && c.other == GR_COMBINE_OTHER_TEXTURE)
        return c.local == GR_COMBINE_LOCAL_CONSTANT ? SRC_CONSTANT_TEXTURE : SRC_ITERATED_TEXTURE;
    return SRC_OTHER;
}

Plane flat(int value) {
    return Plane{static_cast<double>(value), 0.0, 0.0};
}

// Planes in 16.16 for the span loops; a plane too steep or too far out for
// that is left to the general loop.
FixedPlane toFixed(const Plane &p) {
    const double scale = 65536.0, atLimit = 1125899906842624.0, stepLimit = 1073741824.0;
    double at0 = p.at0 * scale, dx = p.dx * scale, dy = p.dy * scale;
    FixedPlane f{0, 0, 0, false};
    if (!(std::fabs(at0) < atLimit && std::fabs(dx) < stepLimit && std::fabs(dy) < stepLimit)) return f;
    f.at0 = roundHalfAway(at0);
    f.dx = roundHalfAway(dx);
    f.dy = roundHalfAway(dy);
    f.ok = true;
    return f;
}

bool flatChannel(const FixedPlane &p) {
    return p.ok && p.dx == 0 && p.dy == 0 && p.at0 >= 0 && p.at0 <= CHANNEL_MAX;
}

void useConstantColour(TriangleSetup &t) {
    std::uint32_t c = glideDevice.constantColour;
    t.r = flat((c >> 16) & 0xFF);
    t.g = flat((c >> 8) & 0xFF);
    t.b = flat(c & 0xFF);
}

} // namespace

void spanGeneral(const TriangleSetup &t, int y, int x0, int x1) {
    std::uint16_t *p = t.target + y * DISPLAY_WIDTH;
    int size = 1 << t.texShift;
    for (int x = x0; x < x1; ++x) {
        FragmentInput in;
        in.r = clampChannel(t.r.at(x, y));
        in.g = clampChannel(t.g.at(x, y));
        in.b = clampChannel(t.b.at(x, y));
        in.a = clampChannel(t.a.at(x, y));
        in.fog = t.fog;
        in.texel = 0;
        double q = 1.0;
        if (t.perspective) {
            q = t.oow.at(x, y);
            in.fog = fogFactor(static_cast<float>(q));
        }
        if (t.texels) {
            double u = t.u.at(x, y) / q;
            double v = t.v.at(x, y) / q;
            in.texel = t.texels[(clampTexel(v, size) << t.texShift) + clampTexel(u, size)];
        }
        shadeFragment(p + x, x, y, in);
    }
}

bool specialisedSpanLoops = true;

void chooseSpanLoop(TriangleSetup &t) {
    const GlideDevice &d = glideDevice;
    t.span = spanGeneral;
    if (!specialisedSpanLoops || t.perspective || t.fog != 0) return;
    for (int k = 0; k < 4; ++k)
        t.ditherRows[k] = ditherRow(k);
    bool opaque = d.blendSrc == GR_BLEND_ONE && d.blendDst == GR_BLEND_ZERO;
    bool additive = d.blendSrc == GR_BLEND_SRC_ALPHA && d.blendDst == GR_BLEND_ONE;
    const TextureCombine &tc = d.textureCombine;
    bool texelsPass = t.texels && tc.rgbLocal && tc.alphaLocal && !tc.rgbInvert && !tc.alphaInvert;
    Source colour = classify(d.colourCombine);
    Source alpha = classify(d.alphaCombine);

    if (colour == SRC_CONSTANT || colour == SRC_CONSTANT_TEXTURE) useConstantColour(t);
    if (alpha == SRC_CONSTANT) t.a = flat(static_cast<int>(d.constantColour >> 24));

    t.fixedR = toFixed(t.r);
    t.fixedG = toFixed(t.g);
    t.fixedB = toFixed(t.b);
    t.fixedA = toFixed(t.a);
    t.fixedU = toFixed(t.u);
    t.fixedV = toFixed(t.v);
    t.flatColour = flatChannel(t.fixedR) && flatChannel(t.fixedG) && flatChannel(t.fixedB);
    t.columns = nullptr;
    bool sprite = t.texels && t.fixedU.ok && t.fixedV.ok && t.fixedU.dy == 0 && t.fixedV.dx == 0;

    bool plainColour = colour == SRC_ITERATED || colour == SRC_CONSTANT;
    bool tintedTexture = colour == SRC_ITERATED_TEXTURE || colour == SRC_CONSTANT_TEXTURE;
    if (opaque && plainColour) {
        t.span = spanGouraud;
    } else if (opaque && tintedTexture && texelsPass) {
        t.span = spanOpaqueTint;
    } else if (additive && plainColour && (alpha == SRC_ITERATED || alpha == SRC_CONSTANT)) {
        t.span = spanAddFlat;
    } else if (additive && texelsPass && alpha == SRC_TEXTURE) {
        if (colour == SRC_TEXTURE)
            t.span = sprite ? spanAddTextureSprite : spanAddTexture;
        else if (tintedTexture)
            t.span = sprite && t.flatColour ? spanAddTintSprite : spanAddTint;
        if (t.span == spanAddTextureSprite || t.span == spanAddTintSprite) fillColumns(t);
    }
}
