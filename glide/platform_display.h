// What the portable device asks of the display it shows frames on: the
// headless one keeps them in memory, the Windows one puts them in a window.
#ifndef COMET_PLATFORM_DISPLAY_H
#define COMET_PLATFORM_DISPLAY_H

#include <cstdint>

const int DISPLAY_WIDTH = 640;
const int DISPLAY_HEIGHT = 480;

// At grSstWinOpen; false when the display cannot be had.
bool platformDisplayOpen();
// At each swap with the finished 640 x 480 RGB565 picture, rows top down:
// show it after swapInterval retraces of a steady 60 Hz clock.
void platformDisplayPresent(const std::uint16_t *pixels, int swapInterval);
// At grGlideShutdown when a display is open.
void platformDisplayClose();

#endif
