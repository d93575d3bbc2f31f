// Which pixels a triangle or a point covers: fill rule, clipping, snapping.
#include "tests/native/glide/device_fixture.h"

#include <limits>
#include <vector>

namespace {

const int LEVEL = 8; // 5-bit red of one coat; two coats give 16

class CoverageTest : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        fillScreen(Rgb{0, 0, 0});
        grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
    }
    void triangle(float x0, float y0, float x1, float y1, float x2, float y2) {
        GrVertex a = makeVertex(x0, y0, exact5(LEVEL)), b = makeVertex(x1, y1, exact5(LEVEL)),
                 c = makeVertex(x2, y2, exact5(LEVEL));
        grDrawTriangle(&a, &b, &c);
    }
    // Counts coats per pixel over a region; fails on any pixel painted twice.
    int countCovered(int x0, int y0, int x1, int y1) {
        std::vector<std::uint16_t> pixels((x1 - x0) * (y1 - y0));
        EXPECT_EQ(
            grLfbReadRegion(GR_BUFFER_BACKBUFFER, x0, y0, x1 - x0, y1 - y0, (x1 - x0) * 2, pixels.data()),
            FXTRUE);
        int covered = 0;
        for (std::uint16_t p : pixels) {
            int red = p >> 11;
            EXPECT_TRUE(red == 0 || red == LEVEL) << "pixel painted " << red / LEVEL << " times";
            covered += red == LEVEL;
        }
        return covered;
    }
};

// Pixel centres inside [x0, x1) x [y0, y1).
int centresInside(double x0, double y0, double x1, double y1) {
    int n = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            n += x + 0.5 >= x0 && x + 0.5 < x1 && y + 0.5 >= y0 && y + 0.5 < y1;
    return n;
}

TEST_F(CoverageTest, SharedEdgesArePaintedOnceWithoutGaps) {
    // Corners on the 1/16 grid, some exactly on pixel centres.
    const float x0 = 10.3125f, y0 = 20.5f, x1 = 50.5f, y1 = 61.1875f, cx = 31.0625f, cy = 40.4375f;
    struct Shape {
        const char *name;
        std::vector<float> triangles;
    } shapes[] = {
        {"diagonal split", {x0, y0, x1, y0, x1, y1, x0, y0, x1, y1, x0, y1}},
        {"other diagonal", {x0, y0, x1, y0, x0, y1, x1, y0, x1, y1, x0, y1}},
        {"fan",
         {cx, cy, x0, y0, x1, y0, cx, cy, x1, y0, x1, y1, cx, cy, x1, y1, x0, y1, cx, cy, x0, y1, x0, y0}},
    };
    for (const Shape &s : shapes) {
        SCOPED_TRACE(s.name);
        fillScreen(Rgb{0, 0, 0});
        grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
        const std::vector<float> &t = s.triangles;
        for (size_t i = 0; i < t.size(); i += 6)
            triangle(t[i], t[i + 1], t[i + 2], t[i + 3], t[i + 4], t[i + 5]);
        EXPECT_EQ(countCovered(0, 0, 80, 80), centresInside(x0, y0, x1, y1));
    }
}

TEST_F(CoverageTest, EitherWindingDrawsAndDegenerateTrianglesDrawNothing) {
    triangle(100, 100, 120, 100, 100, 120);
    triangle(200, 100, 200, 120, 220, 100);
    triangle(300, 100, 320, 110, 340, 120); // collinear
    triangle(400, 100, 400, 100, 400, 100);
    // Centres on the hypotenuse belong to the neighbour: 19 + 18 + ... + 1.
    EXPECT_EQ(countCovered(100, 100, 120, 120), 190);
    EXPECT_EQ(countCovered(200, 100, 220, 120), 190);
    EXPECT_EQ(countCovered(300, 95, 340, 125), 0);
    EXPECT_EQ(countCovered(395, 95, 405, 105), 0);
}

TEST_F(CoverageTest, ClipWindowLimitsTrianglesPointsAndClears) {
    grClipWindow(100, 50, 200, 150);
    triangle(-1000, -1000, 3000, -1000, -1000, 3000);
    GrVertex outside = makeVertex(99.5f, 50.5f, exact5(LEVEL));
    grDrawPoint(&outside);
    EXPECT_EQ(countCovered(0, 0, 640, 480), 100 * 100);
    grBufferClear(0x0000FF00, 0, 0);
    grClipWindow(0, 0, 640, 480);
    EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, 100, 50), 0x07E0);
    EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, 199, 149), 0x07E0);
    EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, 99, 50), 0);
    EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, 200, 149), 0);
    EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, 150, 150), 0);
}

TEST_F(CoverageTest, PointsLightThePixelOfTheirRoundedPosition) {
    struct {
        float x, y;
        int px, py;
    } cases[] = {{10, 20, 10, 20},        {10.5f, 20.5f, 10, 20},     {10.97f, 20.99f, 11, 21},
                 {10.95f, 20.9f, 10, 20}, {639.9f, 479.9f, 639, 479}, {0.01f, 0.02f, 0, 0}};
    for (auto c : cases) {
        fillScreen(Rgb{0, 0, 0});
        grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
        GrVertex p = makeVertex(c.x, c.y, exact5(LEVEL));
        grDrawPoint(&p);
        EXPECT_EQ(readPixel(GR_BUFFER_BACKBUFFER, c.px, c.py) >> 11, LEVEL) << c.x << "," << c.y;
        EXPECT_EQ(countCovered(0, 0, 640, 480), 1) << c.x << "," << c.y;
    }
}

TEST_F(CoverageTest, OffScreenAndNonsenseCoordinatesAreHarmless) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    triangle(nan, 0, 10, 10, 0, 10);
    triangle(0, 0, inf, 10, 0, 10);
    triangle(630, 470, 700, 470, 630, 500);
    GrVertex points[] = {makeVertex(nan, 1), makeVertex(-1, 5), makeVertex(640, 5), makeVertex(5, 480),
                         makeVertex(1e30f, 5)};
    for (GrVertex &p : points)
        grDrawPoint(&p);
    EXPECT_EQ(countCovered(600, 440, 640, 480), 10 * 10);
    EXPECT_EQ(countCovered(0, 0, 600, 440), 0);
    triangle(-5e30f, -5e30f, 5e30f, 0, 0, 5e30f);
    grDrawTriangle(nullptr, nullptr, nullptr);
    grDrawPoint(nullptr);
}

TEST_F(CoverageTest, GouraudColoursInterpolateAcrossTheTriangle) {
    useFlatOpaque();
    grDitherMode(GR_DITHER_DISABLE);
    GrVertex a = makeVertex(0, 0, 0, 0, 0), b = makeVertex(256, 0, 255, 0, 0),
             c = makeVertex(0, 256, 0, 0, 255);
    grDrawTriangle(&a, &b, &c);
    for (int k = 0; k < 200; k += 37) {
        EXPECT_NEAR_RGB(readRgb(k, 10), (k + 0.5) * 255 / 256, 0, 10.5 * 255 / 256);
        EXPECT_NEAR_RGB(readRgb(10, k), 10.5 * 255 / 256, 0, (k + 0.5) * 255 / 256);
    }
}

} // namespace
