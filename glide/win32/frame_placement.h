// Where the 640 x 480 picture goes on a screen of another size.
#ifndef COMET_GLIDE_WIN32_FRAME_PLACEMENT_H
#define COMET_GLIDE_WIN32_FRAME_PLACEMENT_H

struct FramePlacement {
    int x, y, width, height;
};

// The largest 4:3 rectangle centred on the area; the rest is border.
FramePlacement placeFrame(int areaWidth, int areaHeight);

#endif
