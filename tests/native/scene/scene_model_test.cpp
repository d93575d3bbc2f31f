#include "scene/scene.h"
#include <array>
#include <cstring>
#include <gtest/gtest.h>

namespace {

GrVertex vertex(float x, float y, float r, float g, float b, float a, float oow, float sow, float tow) {
    GrVertex v = {};
    v.x = x;
    v.y = y;
    v.r = r;
    v.g = g;
    v.b = b;
    v.a = a;
    v.oow = oow;
    v.tmuvtx[0].sow = sow;
    v.tmuvtx[0].tow = tow;
    return v;
}

void populateWith(std::int32_t stars, std::uint32_t seed) {
    ASSERT_TRUE(allocateStarField(stars));
    populateSceneWithSeed(seed);
}

} // namespace

TEST(SceneRandom, DrawsFromStateOne) {
    seedSceneRandom(1);
    EXPECT_EQ(drawSceneRandom(), 41);
    EXPECT_EQ(drawSceneRandom(), 18467);
    EXPECT_EQ(drawSceneRandom(), 6334);
    EXPECT_EQ(sceneRandom.state, 1u * 214013u * 214013u * 214013u + 2531011u * 214013u * 214013u +
                                     2531011u * 214013u + 2531011u);
}

TEST(VertexTemplates, EveryTemplateGetsItsInitialValuesAndNothingElse) {
    struct Case {
        const char *name;
        GrVertex *actual;
        GrVertex expected;
    };
    const Case cases[] = {
        {"PointVertex", &PointVertex, vertex(0, 0, 169, 163, 206, 25, 0, 0, 0)},
        {"TailMidVertex", &TailMidVertex, vertex(0, 0, 255, 200, 0, 25, 0, 0, 0)},
        {"TailBackVertex", &TailBackVertex, vertex(0, 0, 255, 0, 0, 25, 0, 0, 0)},
        {"BackgroundVertex0", &BackgroundVertex0, vertex(0, 0, 0, 0, 0, 255, 1, 0, 0)},
        {"BackgroundVertex1", &BackgroundVertex1, vertex(0, 0, 0, 0, 0, 255, 1, 0, 0)},
        {"BackgroundVertex2", &BackgroundVertex2, vertex(0, 0, 26, 0, 26, 255, 1, 0, 0)},
        {"BackgroundVertex3", &BackgroundVertex3, vertex(0, 0, 0, 0, 26, 255, 1, 0, 0)},
        {"SpriteVertex0", &SpriteVertex0, vertex(192, 112, 0, 250, 255, 255, 1, 0, 0)},
        {"SpriteVertex1", &SpriteVertex1, vertex(448, 112, 0, 250, 255, 255, 1, 255, 0)},
        {"SpriteVertex2", &SpriteVertex2, vertex(192, 368, 0, 255, 250, 255, 1, 0, 255)},
        {"SpriteVertex3", &SpriteVertex3, vertex(448, 368, 0, 250, 255, 255, 1, 255, 255)},
    };
    // Leftovers from earlier frames must not survive in the fields left at 0.
    for (const Case &c : cases)
        std::memset(c.actual, 0x41, sizeof(GrVertex));
    seedSceneRandom(1);
    prepareVertexTemplates();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const float *got = reinterpret_cast<const float *>(c.actual);
        const float *want = reinterpret_cast<const float *>(&c.expected);
        for (int field = 0; field < 18; ++field)
            EXPECT_EQ(got[field], want[field]) << "field " << field;
    }
}

TEST(PopulateScene, SeedZeroGivesKnownStarsFrequenciesAndPath) {
    populateWith(500, 0);
    const StarRecord &first = starField.stars[0];
    const StarRecord &second = starField.stars[1];
    EXPECT_EQ((std::array<std::int32_t, 6>{first.x, first.y, first.z, first.r, first.g, first.b}),
              (std::array<std::int32_t, 6>{-64800, -32400, 239, 213, 231, 213}));
    EXPECT_EQ((std::array<std::int32_t, 6>{second.x, second.y, second.z, second.r, second.g, second.b}),
              (std::array<std::int32_t, 6>{66000, 34000, 451, 228, 189, 196}));
    EXPECT_EQ((std::array<std::int32_t, 4>{cometPath.freq[0], cometPath.freq[1], cometPath.freq[2],
                                           cometPath.freq[3]}),
              (std::array<std::int32_t, 4>{-9, -6, -5, 4}));
    // 500 stars take 3000 draws; the frequencies take exactly the next four.
    seedSceneRandom(0);
    for (int n = 0; n < 3000 + 4; ++n)
        drawSceneRandom();
    std::uint32_t afterFirstAttempt = sceneRandom.state;
    populateWith(500, 0);
    EXPECT_EQ(sceneRandom.state, afterFirstAttempt);

    EXPECT_NEAR(cometPath.x[1], 308.2261, 5e-5);
    EXPECT_NEAR(cometPath.y[1], 243.4897, 5e-5);
    EXPECT_NEAR(cometPath.x[360], 620.0, 1e-9);
    EXPECT_NEAR(cometPath.y[360], 240.0, 1e-9);
}

TEST(PopulateScene, PathUsesTheProgramsDegreeConstant) {
    // 3.1415926535 / 180 rather than the true pi / 180: by the last step of
    // seed 0 the two differ by about 5e-7 pixels.
    populateWith(500, 0);
    ASSERT_EQ(cometPath.freq[0], -9);
    ASSERT_EQ(cometPath.freq[1], -6);
    EXPECT_NEAR(cometPath.x[1439], 331.7739092039, 1e-9);
}

TEST(PopulateScene, EverySeedGivesAValidSceneStartingAtTheCentre) {
    for (std::uint32_t seed : {0u, 1u, 7u, 12345u, 0x7FFFFFFFu, 0xFFFFFFFFu, 1700000000u}) {
        SCOPED_TRACE(seed);
        populateWith(300, seed);
        for (std::int32_t i = 0; i < starField.count; ++i) {
            const StarRecord &s = starField.stars[i];
            ASSERT_TRUE(s.x >= -80000 && s.x <= 79600 && s.x % 400 == 0);
            ASSERT_TRUE(s.y >= -80000 && s.y <= 79600 && s.y % 400 == 0);
            ASSERT_TRUE(s.z >= 1 && s.z <= 1000);
            ASSERT_TRUE(s.r >= 176 && s.r <= 255 && s.g >= 176 && s.g <= 255 && s.b >= 176 && s.b <= 255);
        }
        for (std::int32_t f : cometPath.freq)
            EXPECT_TRUE(f >= -10 && f <= 9 && f != 0) << f;
        EXPECT_EQ(cometPath.x[0], 320.0);
        EXPECT_EQ(cometPath.y[0], 240.0);
        for (std::int32_t t = 0; t < PATH_STEPS; ++t) {
            ASSERT_TRUE(cometPath.x[t] >= 20 && cometPath.x[t] <= 620) << t;
            ASSERT_TRUE(cometPath.y[t] >= 40 && cometPath.y[t] <= 440) << t;
        }
    }
}

TEST(PopulateScene, AZeroFrequencyRedrawsAllFour) {
    // With no stars the frequency draws come straight after the seed. This
    // seed's first four draws contain a zero (d mod 20 = 10).
    const std::uint32_t seed = 8;
    seedSceneRandom(seed);
    bool zeroInFirst = false;
    for (int n = 0; n < 4; ++n)
        zeroInFirst |= drawSceneRandom() % 20 == 10;
    ASSERT_TRUE(zeroInFirst);
    std::int32_t second[4];
    for (std::int32_t &f : second)
        f = drawSceneRandom() % 20 - 10;
    ASSERT_NE(second[0] * second[1] * second[2] * second[3], 0);

    populateWith(0, seed);
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(cometPath.freq[n], second[n]) << n;
}

TEST(PathCursor, CycleHasFourteenHundredFortyOneValues) {
    pathCursor = 0;
    for (int n = 0; n < 1440; ++n) {
        ASSERT_EQ(pathCursor, n);
        advancePathCursor();
    }
    EXPECT_EQ(pathCursor, 1440);
    EXPECT_EQ(pathIndex(0), 0);
    advancePathCursor();
    EXPECT_EQ(pathCursor, 0);
    EXPECT_EQ(pathIndex(0), 0);
    advancePathCursor();
    EXPECT_EQ(pathCursor, 1);
}

TEST(PathCursor, IndexWrapsAroundTheTable) {
    struct Case {
        std::int32_t cursor, k, index;
    };
    for (const Case &c :
         {Case{0, 0, 0}, Case{0, 85, 85}, Case{1400, 0, 1400}, Case{1400, 39, 1439}, Case{1400, 40, 0},
          Case{1400, 85, 45}, Case{1440, 0, 0}, Case{1440, 85, 85}, Case{1439, 1, 0}}) {
        pathCursor = c.cursor;
        EXPECT_EQ(pathIndex(c.k), c.index) << c.cursor << " + " << c.k;
    }
    pathCursor = 0;
}
