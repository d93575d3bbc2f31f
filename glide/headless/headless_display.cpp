// The display of native builds: the device's own buffers are the frames, so
// there is nothing to keep and nothing to wait for.
#include "glide/platform_display.h"

bool platformDisplayOpen() {
    return true;
}

void platformDisplayPresent(const std::uint16_t *, int) {}

void platformDisplayClose() {}
