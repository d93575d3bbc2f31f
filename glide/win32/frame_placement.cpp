#include "glide/win32/frame_placement.h"

#include "glide/platform_display.h"

FramePlacement placeFrame(int areaWidth, int areaHeight) {
    FramePlacement r;
    if (areaWidth <= 0 || areaHeight <= 0) return FramePlacement{0, 0, 0, 0};
    // Compare 64-bit cross products so no size can overflow or round the
    // aspect the wrong way.
    long long wide = static_cast<long long>(areaWidth) * DISPLAY_HEIGHT;
    long long tall = static_cast<long long>(areaHeight) * DISPLAY_WIDTH;
    if (wide >= tall) {
        r.height = areaHeight;
        r.width = static_cast<int>(tall / DISPLAY_HEIGHT);
    } else {
        r.width = areaWidth;
        r.height = static_cast<int>(wide / DISPLAY_WIDTH);
    }
    r.x = (areaWidth - r.width) / 2;
    r.y = (areaHeight - r.height) / 2;
    return r;
}
