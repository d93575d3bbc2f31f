// One frame against the recording device: the order of the calls and what
// each draw saw in the vertex templates.
#include "display/texture_slots.h"
#include "scene/scene.h"
#include "tests/support/glide_recorder.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const FxU32 WHITE_FLARE_ADDRESS = 65536;
const FxU32 RED_FLARE_ADDRESS = 98304;

// Four stars, the first three of them big (4 x 75 / 100):
//  0: centre, depth 500: a point, then a big star of half-size 17.
//  1: restarts in the point pass, so its big star is the empty square at depth 1000.
//  2: visible as a point at depth 249, off screen at 248 in the big-star pass.
//  3: near; big only when the count reaches it.
const StarRecord STARS[4] = {
    {0, 0, 500, 180, 190, 200},
    {-79600, 0, 248, 201, 202, 203},
    {-79600, 0, 249, 210, 220, 230},
    {40, 40, 2, 240, 250, 255},
};

void setUpSmallScene(std::int32_t cursor) {
    seedSceneRandom(1);
    prepareVertexTemplates();
    NbStars = 4;
    Percent = 75;
    ASSERT_TRUE(allocateStarField(4));
    populateSceneWithSeed(0);
    for (std::int32_t i = 0; i < 4; ++i)
        starField.stars[i] = STARS[i];
    pathCursor = cursor;
    flareSlots[0].startAddress = WHITE_FLARE_ADDRESS;
    flareSlots[1].startAddress = RED_FLARE_ADDRESS;
    flareSlots[0].palette.data[0] = 0x00FFFFFF;
    flareSlots[1].palette.data[0] = 0x00FF0000;
    resetGlideRecorder();
}

void add(std::vector<std::string> &calls, const std::string &call, int times = 1) {
    for (int n = 0; n < times; ++n)
        calls.push_back(call);
}

std::vector<const GlideCall *> callsNamed(const char *name) {
    std::vector<const GlideCall *> found;
    for (const GlideCall &call : glideCalls)
        if (call.name == name) found.push_back(&call);
    return found;
}

void expectCorner(const GrVertex &v, double x, double y) {
    EXPECT_EQ(v.x, static_cast<float>(x));
    EXPECT_EQ(v.y, static_cast<float>(y));
}

float pathX(std::int32_t step) {
    return static_cast<float>(cometPath.x[step % PATH_STEPS]);
}
float pathY(std::int32_t step) {
    return static_cast<float>(cometPath.y[step % PATH_STEPS]);
}

// A sprite square as two triangles (0, 1, 2) and (1, 2, 3) of the sprite templates.
void expectSquare(const GlideCall *first, const GlideCall *second, double cx, double cy, std::int32_t h) {
    ASSERT_EQ(first->pointers, (std::vector<const void *>{&SpriteVertex0, &SpriteVertex1, &SpriteVertex2}));
    ASSERT_EQ(second->pointers, (std::vector<const void *>{&SpriteVertex1, &SpriteVertex2, &SpriteVertex3}));
    expectCorner(first->vertices[0], cx - h, cy - h);
    expectCorner(first->vertices[1], cx + h, cy - h);
    expectCorner(first->vertices[2], cx - h, cy + h);
    expectCorner(second->vertices[2], cx + h, cy + h);
    for (const GlideCall *call : {first, second})
        for (const GrVertex &v : call->vertices) {
            EXPECT_EQ(v.oow, 1.0f);
            EXPECT_EQ(v.a, 255.0f);
        }
    EXPECT_EQ(first->vertices[0].tmuvtx[0].sow, 0.0f);
    EXPECT_EQ(first->vertices[0].tmuvtx[0].tow, 0.0f);
    EXPECT_EQ(second->vertices[2].tmuvtx[0].sow, 255.0f);
    EXPECT_EQ(second->vertices[2].tmuvtx[0].tow, 255.0f);
}

} // namespace

TEST(FrameCalls, OneFrameInOrder) {
    setUpSmallScene(0);
    renderFrame();

    std::vector<std::string> expected;
    add(expected, "grColorCombine(3, 8, 0, 0, 0)");
    add(expected, "grAlphaCombine(3, 8, 1, 2, 0)");
    add(expected, "grAlphaBlendFunction(4, 0, 4, 0)");
    add(expected, "grDrawTriangle()", 4);
    add(expected, "grDrawPoint()", 3);
    add(expected, "grAlphaBlendFunction(1, 4, 4, 0)");
    add(expected, "grDrawTriangle()", 70);
    add(expected, "grColorCombine(3, 8, 1, 1, 0)");
    add(expected, "grAlphaCombine(3, 8, 1, 1, 0)");
    add(expected, "grTexDownloadTable(0, 2)");
    add(expected, "grTexSource(0, 65536, 3)");
    add(expected, "grDrawTriangle()", 2);
    add(expected, "grTexDownloadTable(0, 2)");
    add(expected, "grTexSource(0, 98304, 3)");
    add(expected, "grDrawTriangle()", 60);
    add(expected, "grColorCombine(3, 1, 0, 1, 0)");
    add(expected, "grAlphaCombine(3, 8, 1, 1, 0)");
    add(expected, "grTexDownloadTable(0, 2)");
    add(expected, "grTexSource(0, 65536, 3)");
    add(expected, "grDrawTriangle()", 4);
    add(expected, "grBufferSwap(1)");
    EXPECT_EQ(describeGlideCalls(), expected);

    // Each selection hands over the slot's own palette and texture record.
    std::vector<const GlideCall *> tables = callsNamed("grTexDownloadTable");
    std::vector<const GlideCall *> sources = callsNamed("grTexSource");
    ASSERT_EQ(tables.size(), 3u);
    ASSERT_EQ(sources.size(), 3u);
    const int slotOf[3] = {0, 1, 0};
    for (int n = 0; n < 3; ++n) {
        AlphaTextureSlot &slot = flareSlots[slotOf[n]];
        EXPECT_EQ(tables[n]->pointers[0], &slot.palette) << n;
        EXPECT_EQ(sources[n]->pointers[0], &slot.info) << n;
    }
    EXPECT_EQ(pathCursor, 1);
}

TEST(FrameCalls, BackgroundBandsAndStarPoints) {
    setUpSmallScene(0);
    renderFrame();
    std::vector<const GlideCall *> triangles = callsNamed("grDrawTriangle");
    std::vector<const GlideCall *> points = callsNamed("grDrawPoint");
    ASSERT_GE(triangles.size(), 4u);
    ASSERT_EQ(points.size(), 3u);

    for (int band = 0; band < 2; ++band) {
        SCOPED_TRACE(band);
        float edge = band == 0 ? 0.0f : 480.0f;
        const GlideCall *a = triangles[2 * band];
        const GlideCall *b = triangles[2 * band + 1];
        ASSERT_EQ(a->pointers,
                  (std::vector<const void *>{&BackgroundVertex0, &BackgroundVertex1, &BackgroundVertex3}));
        ASSERT_EQ(b->pointers,
                  (std::vector<const void *>{&BackgroundVertex0, &BackgroundVertex3, &BackgroundVertex2}));
        expectCorner(a->vertices[0], 0, edge);
        expectCorner(a->vertices[1], 640, edge);
        expectCorner(a->vertices[2], 640, 240);
        expectCorner(b->vertices[2], 0, 240);
        EXPECT_EQ(b->vertices[2].r, 26.0f);
        EXPECT_EQ(b->vertices[2].b, 26.0f);
        EXPECT_EQ(a->vertices[2].r, 0.0f);
        EXPECT_EQ(a->vertices[2].b, 26.0f);
    }

    struct Point {
        float x, y, oow;
    };
    // Positions from the depth before the step, 1/w from the depth after it.
    const Point expected[3] = {{320, 240, 1.0f / 499}, {1, 240, 1.0f / 248}, {340, 260, 1.0f}};
    for (int n = 0; n < 3; ++n) {
        const GrVertex &v = points[n]->vertices[0];
        EXPECT_EQ(points[n]->pointers[0], &PointVertex);
        EXPECT_EQ(v.x, expected[n].x) << n;
        EXPECT_EQ(v.y, expected[n].y) << n;
        EXPECT_EQ(v.oow, expected[n].oow) << n;
        EXPECT_EQ(v.r, 169.0f);
        EXPECT_EQ(v.g, 163.0f);
        EXPECT_EQ(v.b, 206.0f);
    }
    const std::int32_t depthAfter[4] = {499, 1000, 248, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(starField.stars[i].z, depthAfter[i]) << i;
}

TEST(FrameCalls, CometFollowsTheCursorAcrossTheEndOfThePath) {
    // The frame moves the cursor first: 0 draws from 1, 1399 from 1400, and
    // 1440 from 0, the same steps as the frame before it.
    for (std::int32_t before : {0, 1399, 1440}) {
        SCOPED_TRACE(before);
        setUpSmallScene(before);
        renderFrame();
        std::int32_t cursor = before == 1440 ? 0 : before + 1;
        ASSERT_EQ(pathCursor, cursor);
        std::vector<const GlideCall *> triangles = callsNamed("grDrawTriangle");
        ASSERT_EQ(triangles.size(), 4u + 70 + 2 + 60 + 4);

        for (std::int32_t i = 0; i < 70; ++i) {
            const GlideCall *tail = triangles[4 + i];
            ASSERT_EQ(tail->pointers,
                      (std::vector<const void *>{&PointVertex, &TailMidVertex, &TailBackVertex}));
            std::int32_t j = (cursor + i) % PATH_STEPS;
            const GrVertex &front = tail->vertices[0];
            const GrVertex &mid = tail->vertices[1];
            const GrVertex &back = tail->vertices[2];
            EXPECT_EQ(front.x, pathX(j + 15));
            EXPECT_EQ(front.y, pathY(j + 15));
            EXPECT_EQ(mid.x, pathX(j + 5));
            EXPECT_EQ(mid.y, pathY(j + 5));
            EXPECT_EQ(back.x, pathX(j));
            EXPECT_EQ(back.y, pathY(j));
            for (const GrVertex &v : tail->vertices)
                EXPECT_EQ(v.oow, 1.0f);
            EXPECT_EQ((std::vector<float>{front.r, front.g, front.b}), (std::vector<float>{169, 163, 206}));
            EXPECT_EQ((std::vector<float>{mid.r, mid.g, mid.b}), (std::vector<float>{255, 200, 0}));
            EXPECT_EQ((std::vector<float>{back.r, back.g, back.b}), (std::vector<float>{255, 0, 0}));
        }

        std::int32_t head = (cursor + 85) % PATH_STEPS;
        if (before == 1399) {
            EXPECT_EQ(head, 45);
        }
        expectSquare(triangles[74], triangles[75], cometPath.x[head], cometPath.y[head], 64);
        for (std::int32_t n = 0; n < 30; ++n) {
            SCOPED_TRACE(n);
            std::int32_t step = (cursor + 23 + 2 * n) % PATH_STEPS;
            expectSquare(triangles[76 + 2 * n], triangles[77 + 2 * n], cometPath.x[step], cometPath.y[step],
                         2 + n);
        }
    }
}

TEST(FrameCalls, BigStarsUseTheDepthAfterThePointPass) {
    setUpSmallScene(0);
    renderFrame();
    std::vector<const GlideCall *> triangles = callsNamed("grDrawTriangle");
    ASSERT_EQ(triangles.size(), 140u);
    // Star 0 at depth 499: 32 - 15968 / 1000 = 17. Star 1 restarted at 1000:
    // half-size 0 at -79600 / 1000 + 320. Star 2 is off screen now; star 3 is not big.
    expectSquare(triangles[136], triangles[137], 320, 240, 17);
    expectSquare(triangles[138], triangles[139], 241, 240, 0);
    for (int n = 136; n < 140; ++n) {
        const StarRecord &star = STARS[n < 138 ? 0 : 1];
        for (const GrVertex &v : triangles[n]->vertices) {
            EXPECT_EQ(v.r, static_cast<float>(star.r));
            EXPECT_EQ(v.g, static_cast<float>(star.g));
            EXPECT_EQ(v.b, static_cast<float>(star.b));
        }
    }
    EXPECT_EQ(starField.stars[2].z, 248);
}

TEST(FrameCalls, BigStarCountFollowsTheSettingsAndStaysInsideTheField) {
    struct Case {
        std::int32_t nbStars, percent;
        std::size_t bigStarTriangles;
    };
    // 4 x 24 < 100: none. 4 x 90 / 100 = 3, of which two are on screen in
    // the big-star pass; the fourth star is on screen too, so counts above
    // the field draw three and stop at its end.
    for (const Case &c : {Case{4, 24, 0}, Case{4, 90, 4}, Case{4, 200, 6}, Case{1000000, 90, 6}}) {
        setUpSmallScene(0);
        NbStars = c.nbStars;
        Percent = c.percent;
        renderFrame();
        EXPECT_EQ(callsNamed("grDrawTriangle").size(), 136 + c.bigStarTriangles)
            << c.nbStars << " x " << c.percent;
    }
    NbStars = 500;
    Percent = 20;
}

TEST(FrameCalls, BigStarHalfSizeFromDepth) {
    struct Case {
        std::int32_t depth, halfSize;
    };
    const Case cases[] = {{1, 32},   {31, 32}, {32, 31}, {62, 31}, {63, 30},
                          {500, 16}, {968, 2}, {969, 1}, {999, 1}, {1000, 0}};
    for (const Case &c : cases) {
        setUpSmallScene(0);
        NbStars = 1;
        Percent = 100;
        // The point pass steps the depth down first; depth 1 comes from a restart.
        starField.stars[0] = StarRecord{0, 0, c.depth == 1000 ? 1 : c.depth + 1, 200, 200, 200};
        renderFrame();
        std::vector<const GlideCall *> triangles = callsNamed("grDrawTriangle");
        ASSERT_EQ(triangles.size(), 138u);
        SCOPED_TRACE(c.depth);
        expectSquare(triangles[136], triangles[137], 320, 240, c.halfSize);
    }
    NbStars = 500;
    Percent = 20;
}
