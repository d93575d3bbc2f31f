// The two flare sprites, each an alpha mask and a colour picture of 128 x 128.
#pragma once

#include "tools/artgen/bitmap8.h"

struct FlarePair {
    Bitmap8 alpha;
    Bitmap8 color;
};

// A bright round glow with a long near-vertical ray: the comet's head and the big stars.
FlarePair makeWhiteFlare();
// A smaller red glow with short rays and a ring: the comet's glow trail.
FlarePair makeRedFlare();
