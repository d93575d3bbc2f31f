#include "scene/scene.h"

void advancePathCursor() {
    // Compared before the increment, so 1440 is a cursor value of its own and
    // the cycle has 1441 frames.
    std::int32_t previous = pathCursor;
    pathCursor = previous + 1;
    if (previous == PATH_STEPS) pathCursor = 0;
}

std::int32_t pathIndex(std::int32_t k) {
    return (pathCursor + k) % PATH_STEPS;
}
