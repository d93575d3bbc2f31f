#include "scene/scene.h"

void seedSceneRandom(std::uint32_t seed) {
    sceneRandom.state = seed;
}

std::int32_t drawSceneRandom() {
    sceneRandom.state = sceneRandom.state * 214013u + 2531011u;
    return static_cast<std::int32_t>((sceneRandom.state >> 16) & 0x7FFFu);
}
