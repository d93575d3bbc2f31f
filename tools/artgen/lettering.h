// Text set with FreeType into coverage grids.
#pragma once

#include "tools/artgen/grid.h"

#include <string>

struct TextBlock {
    Grid coverage; // 0..1, tight around the inked cells
    int baseline;  // row of the baseline inside the block
};

// Sets one line of text at the given pixel size with extra spacing (pixels)
// between letters. Returns false when the font cannot be read.
bool setText(const std::string &fontPath, const std::string &text, int pixelSize, double letterSpacing,
             TextBlock &block);

// Lays coverage onto a canvas with the block's top-left cell at (left, top); where
// coverage overlaps the larger value stays.
void stampText(Grid &canvas, const TextBlock &block, int left, int top);
