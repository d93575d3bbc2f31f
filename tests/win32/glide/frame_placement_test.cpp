#include "glide/win32/frame_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(FramePlacement, LargestCentredFourByThreeRectangle) {
    struct Case {
        int width, height;
        FramePlacement expected;
    } cases[] = {
        {640, 480, {0, 0, 640, 480}},
        {1024, 768, {0, 0, 1024, 768}},
        {1920, 1080, {240, 0, 1440, 1080}},
        {1280, 1024, {0, 32, 1280, 960}},
        {1366, 768, {171, 0, 1024, 768}},
        {800, 1280, {0, 340, 800, 600}},
        {1, 1, {0, 0, 1, 0}},
        {0, 768, {0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        FramePlacement p = placeFrame(c.width, c.height);
        EXPECT_EQ(p.x, c.expected.x) << c.width << "x" << c.height;
        EXPECT_EQ(p.y, c.expected.y) << c.width << "x" << c.height;
        EXPECT_EQ(p.width, c.expected.width) << c.width << "x" << c.height;
        EXPECT_EQ(p.height, c.expected.height) << c.width << "x" << c.height;
    }
}

} // namespace
