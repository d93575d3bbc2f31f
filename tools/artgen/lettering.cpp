#include "tools/artgen/lettering.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <climits>

namespace {

struct Ink {
    int left;
    int top;
    int width;
    int height;
    std::vector<unsigned char> alpha;
};

// Renders every glyph once, at its pen position in a frame whose origin is the
// start of the baseline.
bool renderGlyphs(FT_Face face, const std::string &text, double letterSpacing, std::vector<Ink> &inks) {
    long pen = 0; // 26.6 fixed point
    FT_UInt previous = 0;
    for (unsigned char c : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, c);
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNFITTED, &kern) == 0) pen += kern.x;
        }
        // Unhinted outlines keep the letter shapes true at every size.
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING) != 0) return false;
        const long penWhole = pen >> 6;
        const FT_Pos fraction = pen & 63;
        FT_Outline_Translate(&face->glyph->outline, fraction, 0);
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return false;
        const FT_Bitmap &bitmap = face->glyph->bitmap;
        Ink ink{static_cast<int>(penWhole) + face->glyph->bitmap_left,
                -face->glyph->bitmap_top,
                static_cast<int>(bitmap.width),
                static_cast<int>(bitmap.rows),
                {}};
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned column = 0; column < bitmap.width; ++column)
                ink.alpha.push_back(bitmap.buffer[row * bitmap.pitch + column]);
        inks.push_back(ink);
        pen += face->glyph->advance.x + static_cast<long>(letterSpacing * 64.0);
        previous = glyph;
    }
    return true;
}

} // namespace

bool setText(const std::string &fontPath, const std::string &text, int pixelSize, double letterSpacing,
             TextBlock &block) {
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) return false;
    FT_Face face;
    bool ok = FT_New_Face(library, fontPath.c_str(), 0, &face) == 0;
    std::vector<Ink> inks;
    if (ok) {
        ok = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) == 0 &&
             renderGlyphs(face, text, letterSpacing, inks);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    if (!ok || inks.empty()) return false;

    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const Ink &ink : inks) {
        if (ink.width == 0 || ink.height == 0) continue;
        left = std::min(left, ink.left);
        top = std::min(top, ink.top);
        right = std::max(right, ink.left + ink.width);
        bottom = std::max(bottom, ink.top + ink.height);
    }
    block.coverage = makeGrid(right - left, bottom - top, 0.0);
    block.baseline = -top;
    for (const Ink &ink : inks) {
        for (int y = 0; y < ink.height; ++y) {
            for (int x = 0; x < ink.width; ++x) {
                double &cell = gridCell(block.coverage, ink.left - left + x, ink.top - top + y);
                cell = std::max(cell, ink.alpha[static_cast<size_t>(y) * ink.width + x] / 255.0);
            }
        }
    }
    return true;
}

void stampText(Grid &canvas, const TextBlock &block, int left, int top) {
    for (int y = 0; y < block.coverage.height; ++y) {
        for (int x = 0; x < block.coverage.width; ++x) {
            const int cx = left + x;
            const int cy = top + y;
            if (cx < 0 || cy < 0 || cx >= canvas.width || cy >= canvas.height) continue;
            double &cell = gridCell(canvas, cx, cy);
            cell = std::max(cell, gridAt(block.coverage, x, y));
        }
    }
}
