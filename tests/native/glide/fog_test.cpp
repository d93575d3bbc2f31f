#include "tests/native/glide/device_fixture.h"

#include <cmath>

namespace {

double tableW(int i) {
    return std::ldexp(1.0, 3 + i / 4) / (8 - i % 4);
}

TEST(FogTable, LinearFromNearToFarInW) {
    GrFog_t table[GR_FOG_TABLE_SIZE];
    guFogGenerateLinear(table, 0.0f, 1000.0f);
    struct {
        int index;
        int value;
    } cases[] = {{0, 0}, {4, 0}, {20, 8}, {21, 9}, {36, 130}, {39, 208}, {40, 255}, {63, 255}};
    for (auto c : cases)
        EXPECT_EQ(table[c.index], c.value) << "entry " << c.index;
    for (int i = 0; i < GR_FOG_TABLE_SIZE; ++i) {
        double f = tableW(i) / 1000.0;
        EXPECT_EQ(table[i], static_cast<int>(std::floor(255.0 * (f > 1.0 ? 1.0 : f)))) << "entry " << i;
    }
}

TEST(FogTable, NearerThanNearIsZeroAndEqualBoundsDoNotDivide) {
    GrFog_t table[GR_FOG_TABLE_SIZE];
    guFogGenerateLinear(table, 100.0f, 200.0f);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[GR_FOG_TABLE_SIZE - 1], 255);
    guFogGenerateLinear(table, 50.0f, 50.0f);
    for (int i = 0; i < GR_FOG_TABLE_SIZE; ++i)
        EXPECT_EQ(table[i], tableW(i) >= 50.0 ? 255 : 0);
}

class FogTest : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        GrFog_t table[GR_FOG_TABLE_SIZE];
        guFogGenerateLinear(table, 0.0f, 1000.0f);
        grFogTable(table);
        grFogColorValue(0x000000FF);
        grDitherMode(GR_DITHER_DISABLE);
        fillScreen(Rgb{0, 0, 0});
        grFogMode(GR_FOG_WITH_TABLE);
    }
};

TEST_F(FogTest, PointsFadeTowardsTheFogColourWithDistance) {
    const Rgb colour{200, 160, 0};
    // w = 1000 lies between entries 39 (w 819.2, value 208) and 40 (w 1024, 255).
    int far = static_cast<int>(208 + (255 - 208) * (1000.0 - 819.2) / (1024.0 - 819.2));
    struct {
        float w;
        int fog;
    } cases[] = {{1.0f, 0}, {1000.0f, far}, {60000.0f, 255}};
    int x = 10;
    for (auto c : cases) {
        GrVertex p = makeVertex(static_cast<float>(x), 10, colour.r, colour.g, colour.b);
        p.oow = 1.0f / c.w;
        grDrawPoint(&p);
        int keep = 255 - c.fog;
        EXPECT_NEAR_RGB(readRgb(x, 10), (colour.r * keep + 127) / 255, (colour.g * keep + 127) / 255,
                        (255 * c.fog + 127) / 255);
        x += 10;
    }
}

TEST_F(FogTest, TrianglesAtConstantDepthGetThePointsFog) {
    GrVertex p = makeVertex(5, 5, 200, 160, 0);
    p.oow = 1.0f / 500.0f;
    grDrawPoint(&p);
    drawRect(20, 20, 30, 30, Rgb{200, 160, 0}, 255, 1.0f / 500.0f);
    Rgb point = readRgb(5, 5), area = readRgb(25, 25);
    EXPECT_EQ(point.r, area.r);
    EXPECT_EQ(point.g, area.g);
    EXPECT_EQ(point.b, area.b);
    EXPECT_GT(point.b, 100); // w 500 is about half way
}

TEST_F(FogTest, OffLeavesColoursAlone) {
    grFogMode(GR_FOG_DISABLE);
    GrVertex p = makeVertex(5, 5, 200, 160, 0);
    p.oow = 1.0f / 1000.0f;
    grDrawPoint(&p);
    EXPECT_NEAR_RGB(readRgb(5, 5), 200, 160, 0);
}

} // namespace
