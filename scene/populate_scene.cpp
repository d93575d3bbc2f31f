#include "scene/scene.h"
#include <cmath>
#include <ctime>

namespace {

// Degrees to radians with pi as 3.1415926535; the path's exact shape depends
// on this value, not on the true pi / 180.
const double DEGREE = 0.017453292519444445;

double pathAngle(std::int32_t f, std::int32_t t) {
    return static_cast<double>(f * t) * DEGREE / 4;
}

void fillStars() {
    for (std::int32_t i = 0; i < starField.count; ++i) {
        StarRecord &star = starField.stars[i];
        star.x = (drawSceneRandom() % 400 - 200) * 400;
        star.y = (drawSceneRandom() % 400 - 200) * 400;
        star.z = drawSceneRandom() % 1000 + 1;
        star.r = drawSceneRandom() % 80 + 176;
        star.g = drawSceneRandom() % 80 + 176;
        star.b = drawSceneRandom() % 80 + 176;
    }
}

void drawFrequencies() {
    std::int32_t *f = cometPath.freq;
    f[0] = f[1] = f[2] = f[3] = 0;
    while (f[0] * f[1] * f[2] * f[3] == 0) {
        for (int n = 0; n < 4; ++n)
            f[n] = drawSceneRandom() % 20 - 10;
    }
}

void computePath() {
    const std::int32_t *f = cometPath.freq;
    for (std::int32_t t = 0; t < PATH_STEPS; ++t) {
        cometPath.x[t] = std::sin(pathAngle(f[0], t)) * std::cos(pathAngle(f[1], t)) * 300 + 320;
        cometPath.y[t] = std::sin(pathAngle(f[3], t)) * std::cos(pathAngle(f[2], t)) * 200 + 240;
    }
}

} // namespace

void populateSceneWithSeed(std::uint32_t seed) {
    seedSceneRandom(seed);
    fillStars();
    drawFrequencies();
    computePath();
}

void populateScene() {
    populateSceneWithSeed(static_cast<std::uint32_t>(std::time(nullptr)));
}
