#include "scene/scene.h"
#include <cstdint>
#include <cstdlib>

bool allocateStarField(std::int32_t nbStars) {
    std::free(starField.stars);
    starField.stars = nullptr;
    starField.count = 0;
    if (nbStars <= 0) return true;
    // A stored star count can be anything; on a 32-bit build the byte size
    // itself can overflow before the allocator sees it.
    if (static_cast<std::uint64_t>(nbStars) > SIZE_MAX / sizeof(StarRecord)) return false;
    void *block = std::calloc(static_cast<std::size_t>(nbStars), sizeof(StarRecord));
    if (block == nullptr) return false;
    starField.stars = static_cast<StarRecord *>(block);
    starField.count = nbStars;
    return true;
}

std::int32_t bigStarCount() {
    std::int64_t count = static_cast<std::int64_t>(NbStars) * Percent / 100;
    if (count < 0) return 0;
    if (count > starField.count) return starField.count;
    return static_cast<std::int32_t>(count);
}

void projectStar(std::int32_t i, std::int32_t *sx, std::int32_t *sy) {
    const StarRecord &star = starField.stars[i];
    *sx = star.x / star.z + 320;
    *sy = star.y / star.z + 240;
}

bool onScreen(std::int32_t sx, std::int32_t sy) {
    return sx > 0 && sx < 640 && sy > 0 && sy < 480;
}

bool advanceStar(std::int32_t i, std::int32_t *sx, std::int32_t *sy, std::int32_t *z) {
    projectStar(i, sx, sy);
    StarRecord &star = starField.stars[i];
    star.z -= 1;
    if (star.z < 1) star.z = 1000;
    bool visible = onScreen(*sx, *sy);
    if (!visible) star.z = 1000;
    *z = star.z;
    return visible;
}
