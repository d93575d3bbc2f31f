// The real software device opened as the saver's display set-up leaves it,
// with flare textures made here, for tests that look at finished frames.
#ifndef COMET_TESTS_FRAME_DEVICE_H
#define COMET_TESTS_FRAME_DEVICE_H

#include "glide/glide.h"
#include <cstdint>
#include <vector>

struct Rgb {
    int r, g, b;
};

// Solid and glow flares are made here; the bitmaps are the saver's own flare
// art from the resources folder, merged into alpha-and-index texels as the
// saver's loader does.
enum FlareShape { FLARE_SOLID, FLARE_GLOW, FLARE_BITMAPS };

// Opens the display with the frame's render state and downloads a white and
// a red flare into the two flare slots. False when the device will not open.
bool openFrameDevice(FlareShape shape);
void closeFrameDevice();

// The shown picture, rows top down, each pixel widened from 565 to 8 bits.
std::vector<Rgb> readShownFrame();

inline const Rgb &pixelAt(const std::vector<Rgb> &frame, int x, int y) {
    return frame[y * 640 + x];
}

#endif
