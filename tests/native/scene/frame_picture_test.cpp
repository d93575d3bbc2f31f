// Finished frames from the real software device.
#include "display/texture_slots.h"
#include "scene/scene.h"
#include "tests/native/scene/frame_device.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

struct Box {
    int x0, y0, x1, y1; // x1, y1 exclusive
};

int countPixels(const std::vector<Rgb> &frame, Box box, bool (*match)(const Rgb &)) {
    int count = 0;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x)
            count += match(pixelAt(frame, x, y)) ? 1 : 0;
    return count;
}

bool isRed(const Rgb &p) {
    return p.r >= 248 && p.g < 16;
}
bool isWhite(const Rgb &p) {
    return p.r >= 248 && p.g >= 248 && p.b >= 248;
}
bool isBright(const Rgb &p) {
    return p.g >= 200;
}

void expectNear(const Rgb &got, Rgb want, int tolerance) {
    EXPECT_NEAR(got.r, want.r, tolerance);
    EXPECT_NEAR(got.g, want.g, tolerance);
    EXPECT_NEAR(got.b, want.b, tolerance);
}

// Every path step on one point: the comet collapses to its head and glows
// there, and its tail triangles have no area.
void collapsePath(double x, double y) {
    for (std::int32_t t = 0; t < PATH_STEPS; ++t) {
        cometPath.x[t] = x;
        cometPath.y[t] = y;
    }
}

class FramePicture : public ::testing::Test {
  protected:
    void open(FlareShape shape) {
        ASSERT_TRUE(openFrameDevice(shape));
        opened = true;
    }
    void TearDown() override {
        if (opened) closeFrameDevice();
        NbStars = 500;
        Percent = 20;
    }
    void scene(std::vector<StarRecord> stars, std::int32_t percent, std::int32_t cursor,
               std::uint32_t seed = 0) {
        seedSceneRandom(1);
        prepareVertexTemplates();
        NbStars = static_cast<std::int32_t>(stars.size());
        Percent = percent;
        ASSERT_TRUE(allocateStarField(NbStars));
        populateSceneWithSeed(seed);
        for (std::size_t i = 0; i < stars.size(); ++i)
            starField.stars[i] = stars[i];
        pathCursor = cursor;
    }
    // The tail's only weight is the constant alpha; without it the sprites
    // stand alone.
    void withoutTail() { grConstantColorValue(0); }
    std::vector<Rgb> frame() {
        renderFrame();
        return readShownFrame();
    }
    bool opened = false;
};

} // namespace

TEST_F(FramePicture, BandsCoverTheScreenBlackAtTheEdgesPurpleToBlueAtTheHorizon) {
    open(FLARE_GLOW);
    scene({}, 20, 0);
    collapsePath(320, 240);
    grBufferClear(0x00FFFFFF, 0, 0);
    std::vector<Rgb> shown = frame();
    ASSERT_EQ(shown.size(), 640u * 480u);

    for (int x = 0; x < 640; ++x) {
        expectNear(pixelAt(shown, x, 0), {0, 0, 0}, 0);
        expectNear(pixelAt(shown, x, 479), {0, 0, 0}, 0);
    }
    // Left end dark purple, right end dark blue, one 565 step of dither either way.
    for (int y : {239, 240}) {
        expectNear(pixelAt(shown, 1, y), {26, 0, 26}, 9);
        expectNear(pixelAt(shown, 638, y), {0, 0, 26}, 9);
    }
    // Nothing of the white the back buffer held survives outside the comet.
    Box comet = {320 - 64, 240 - 64, 320 + 64, 240 + 64};
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            if (x >= comet.x0 && x < comet.x1 && y >= comet.y0 && y < comet.y1) continue;
            ASSERT_LE(pixelAt(shown, x, y).g, 8) << x << "," << y;
        }
}

TEST_F(FramePicture, HeadSitsOnItsPathStepAcrossTheEndOfTheTable) {
    open(FLARE_SOLID);
    // The frame moves the cursor from 1399 to 1400: the head is on step 45.
    scene({}, 20, 1399);
    withoutTail();
    double cx = cometPath.x[45], cy = cometPath.y[45];
    ASSERT_TRUE(cx - 64 >= 0 && cx + 64 <= 640 && cy - 64 >= 0 && cy + 64 <= 480) << "head must be whole";
    std::vector<Rgb> shown = frame();

    double sumX = 0, sumY = 0;
    int count = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (isWhite(pixelAt(shown, x, y))) {
                sumX += x + 0.5;
                sumY += y + 0.5;
                ++count;
            }
    // The covered pixel centres sit up to half a pixel from the exact centre.
    EXPECT_EQ(count, 128 * 128);
    EXPECT_NEAR(sumX / count, cx, 0.5 + 1.0 / 16);
    EXPECT_NEAR(sumY / count, cy, 0.5 + 1.0 / 16);
    // Every glow is lit at its centre, offsets 23 to 81 past step 1399 + 1.
    for (int offset = 23; offset <= 81; offset += 2) {
        std::int32_t step = (1400 + offset) % PATH_STEPS;
        const Rgb &p =
            pixelAt(shown, static_cast<int>(cometPath.x[step]), static_cast<int>(cometPath.y[step]));
        EXPECT_GE(p.r, 248) << "glow at offset " << offset;
    }
}

TEST_F(FramePicture, GlowsGrowTowardsTheHead) {
    open(FLARE_SOLID);
    scene({}, 20, 0);
    withoutTail();
    // One cell of an 80-pixel grid for each glow, the rest of the comet in the corner.
    collapsePath(580, 400);
    for (int k = 0; k < 30; ++k) {
        std::int32_t step = 1 + 23 + 2 * k;
        cometPath.x[step] = 40 + 80 * (k % 6);
        cometPath.y[step] = 40 + 80 * (k / 6);
    }
    std::vector<Rgb> shown = frame();
    for (int k = 0; k < 30; ++k) {
        int cx = 40 + 80 * (k % 6), cy = 40 + 80 * (k / 6);
        int side = 2 * (k + 2);
        EXPECT_EQ(countPixels(shown, {cx - 40, cy - 40, cx + 40, cy + 40}, isRed), side * side)
            << "glow " << k;
    }
    EXPECT_EQ(countPixels(shown, {516, 336, 640, 464}, isWhite), 124 * 128);
}

TEST_F(FramePicture, BigStarSquareFollowsItsDepth) {
    struct Case {
        std::int32_t depthAfterStep, percent, side;
    };
    // Percent 99 of one star is no big star at all.
    const Case cases[] = {{1, 100, 64},   {31, 100, 64},  {32, 100, 62},
                          {500, 100, 32}, {1000, 100, 0}, {500, 99, 0}};
    open(FLARE_SOLID);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.depthAfterStep);
        std::int32_t before = c.depthAfterStep == 1000 ? 1 : c.depthAfterStep + 1;
        scene({StarRecord{0, 0, before, 255, 255, 255}}, c.percent, 0);
        collapsePath(600, 60);
        std::vector<Rgb> shown = frame();
        EXPECT_EQ(countPixels(shown, {240, 160, 400, 320}, isBright), c.side * c.side);
    }
}

TEST_F(FramePicture, StarPointsBrightenOutOfTheFog) {
    open(FLARE_GLOW);
    // A near star at depth 1 after the step shows the point colour itself; a
    // far one at 999 is almost the fog colour.
    scene({StarRecord{0, 0, 2, 200, 200, 200}, StarRecord{40000, 0, 1000, 200, 200, 200}}, 0, 0);
    collapsePath(600, 60);
    std::vector<Rgb> shown = frame();
    expectNear(pixelAt(shown, 320, 240), {169, 163, 206}, 8);
    expectNear(pixelAt(shown, 360, 240), {15, 0, 15}, 9);
}
