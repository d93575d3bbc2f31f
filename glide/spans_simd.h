// Eight pixels at a time in 16-bit lanes, with the same integer arithmetic
// as the scalar helpers of pixel.h, so both give identical pixels. Only where
// the compiler targets SSE2 (every x86-64 build); elsewhere the span loops
// stay scalar.
#ifndef COMET_GLIDE_SPANS_SIMD_H
#define COMET_GLIDE_SPANS_SIMD_H

#if defined(__SSE2__)
#define COMET_GLIDE_SIMD 1

#include <emmintrin.h>

#include <cstdint>

struct Dither8 {
    __m128i level; // 0..15 per lane
};

// Lane k belongs to pixel x0 + k; blocks advance by 8, a multiple of the
// matrix width, so one vector serves the whole span.
inline Dither8 makeDither8(const std::uint8_t *row, int x0) {
    return Dither8{_mm_setr_epi16(row[x0 & 3], row[(x0 + 1) & 3], row[(x0 + 2) & 3], row[(x0 + 3) & 3],
                                  row[x0 & 3], row[(x0 + 1) & 3], row[(x0 + 2) & 3], row[(x0 + 3) & 3])};
}

// The vectors of a dither row for each phase x0 & 3, made again only when
// the row changes, so a span just looks one up.
struct DitherRow8 {
    const std::uint8_t *row;
    Dither8 phase[4];
};

inline Dither8 dither8(DitherRow8 &cache, const std::uint8_t *row, int x0) {
    if (cache.row != row) {
        for (int k = 0; k < 4; ++k)
            cache.phase[k] = makeDither8(row, k);
        cache.row = row;
    }
    return cache.phase[x0 & 3];
}

// A 16.16 walk over eight lanes, lane k at value + k * step, advanced a
// block at a time. Lanes past the end of a span may wrap; they are never
// stored, so the arithmetic wraps on purpose instead of overflowing.
struct Walk8 {
    __m128i low, high, advance;
};

inline std::int32_t wrapped(std::int32_t value, std::int32_t step, int k) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                     static_cast<std::uint32_t>(step) * static_cast<std::uint32_t>(k));
}

inline Walk8 walk8(std::int32_t value, std::int32_t step) {
    return Walk8{
        _mm_setr_epi32(value, wrapped(value, step, 1), wrapped(value, step, 2), wrapped(value, step, 3)),
        _mm_setr_epi32(wrapped(value, step, 4), wrapped(value, step, 5), wrapped(value, step, 6),
                       wrapped(value, step, 7)),
        _mm_set1_epi32(wrapped(0, step, 8))};
}

// Integer parts of the eight lanes as 16-bit lanes, then on to the next block.
inline __m128i next8(Walk8 &w) {
    __m128i v = _mm_packs_epi32(_mm_srai_epi32(w.low, 16), _mm_srai_epi32(w.high, 16));
    w.low = _mm_add_epi32(w.low, w.advance);
    w.high = _mm_add_epi32(w.high, w.advance);
    return v;
}

// div255's (x + (x >> 8)) >> 8 equals (x * 257) >> 16 for 16-bit x: one
// high multiply instead of two shifts and an add.
inline __m128i mul255x8(__m128i a, __m128i b) {
    __m128i x = _mm_add_epi16(_mm_mullo_epi16(a, b), _mm_set1_epi16(128));
    return _mm_mulhi_epu16(x, _mm_set1_epi16(257));
}

inline __m128i pack565x8(__m128i r, __m128i g, __m128i b, const Dither8 &d) {
    __m128i tr = _mm_sub_epi16(r, _mm_srli_epi16(r, 5));
    __m128i tg = _mm_sub_epi16(g, _mm_srli_epi16(g, 6));
    __m128i tb = _mm_sub_epi16(b, _mm_srli_epi16(b, 5));
    __m128i r5 = _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(tr, 1), d.level), 4);
    __m128i g6 = _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(tg, 2), d.level), 4);
    __m128i b5 = _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(tb, 1), d.level), 4);
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r5, 11), _mm_slli_epi16(g6, 5)), b5);
}

// Adds a contribution to eight 565 pixels, saturating each channel at 255.
// Widening a field f of n bits repeats its top bits below it, which is
// floor(f * (1 + 2^-n) * 2^(8-n)); with the field moved to the top of the lane
// that is one high multiply.
inline __m128i add565x8(__m128i dst, __m128i r, __m128i g, __m128i b, const Dither8 &d) {
    __m128i dr =
        _mm_mulhi_epu16(_mm_and_si128(dst, _mm_set1_epi16(static_cast<short>(0xF800))), _mm_set1_epi16(264));
    __m128i dg = _mm_mulhi_epu16(_mm_slli_epi16(_mm_srli_epi16(dst, 5), 10), _mm_set1_epi16(260));
    __m128i db = _mm_mulhi_epu16(_mm_slli_epi16(dst, 11), _mm_set1_epi16(264));
    __m128i top = _mm_set1_epi16(255);
    return pack565x8(_mm_min_epi16(_mm_add_epi16(dr, r), top), _mm_min_epi16(_mm_add_epi16(dg, g), top),
                     _mm_min_epi16(_mm_add_epi16(db, b), top), d);
}

// Eight ARGB texels split into 16-bit lanes per channel.
struct Texels8 {
    __m128i a, r, g, b;
};

inline Texels8 split8(__m128i lo, __m128i hi) {
    __m128i byte = _mm_set1_epi32(0xFF);
    Texels8 t;
    t.b = _mm_packs_epi32(_mm_and_si128(lo, byte), _mm_and_si128(hi, byte));
    t.g = _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(lo, 8), byte),
                          _mm_and_si128(_mm_srli_epi32(hi, 8), byte));
    t.r = _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(lo, 16), byte),
                          _mm_and_si128(_mm_srli_epi32(hi, 16), byte));
    t.a = _mm_packs_epi32(_mm_srli_epi32(lo, 24), _mm_srli_epi32(hi, 24));
    return t;
}

inline __m128i load8(const std::uint16_t *p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}
inline void store8(std::uint16_t *p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i *>(p), v);
}

#endif
#endif
