// Runs the scene on the software device for the pictures in docs/: usage
// scene_frame_shot STARS PERCENT FRAMES SEED, with the device's dump knobs
// (COMET_GLIDE_DUMP_DIR, COMET_GLIDE_DUMP_FRAMES) saying which frames to keep.
// The flares are the saver's own flare bitmaps.
#include "scene/scene.h"
#include "tests/native/scene/frame_device.h"
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s STARS PERCENT FRAMES SEED\n", argv[0]);
        return 2;
    }
    std::int32_t stars = std::atoi(argv[1]);
    std::int32_t percent = std::atoi(argv[2]);
    long frames = std::atol(argv[3]);
    std::uint32_t seed = static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10));

    if (!allocateStarField(stars)) return 1;
    NbStars = stars;
    Percent = percent;
    if (!openFrameDevice(FLARE_BITMAPS)) return 1;
    prepareVertexTemplates();
    populateSceneWithSeed(seed);
    grGlideShamelessPlug(FXTRUE);
    for (long n = 0; n < frames; ++n)
        renderFrame();
    closeFrameDevice();
    return 0;
}
