// The 256 x 256 logo: a holed metal plate carrying the title and the author line.
#pragma once

#include "tools/artgen/bitmap8.h"

#include <string>

// fontFolder holds the DejaVu fonts. Returns false when a font cannot be read.
bool makeLogo(const std::string &fontFolder, Bitmap8 &logo);
