#include "scene/scene.h"
#include <climits>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

// Under AddressSanitizer a refused allocation must come back as null, as it
// does in the product, rather than end the test program.
extern "C" const char *__asan_default_options() {
    return "allocator_may_return_null=1";
}

namespace {

// Caps the address space a little above what the process already maps, so
// that a big allocation fails the way it would on a machine without memory.
struct AddressSpaceCap {
    rlimit saved;
    AddressSpaceCap() {
        getrlimit(RLIMIT_AS, &saved);
        long pages = 0;
        std::FILE *statm = std::fopen("/proc/self/statm", "r");
        if (statm != nullptr) {
            if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
            std::fclose(statm);
        }
        rlimit cap = saved;
        cap.rlim_cur = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (256u << 20);
        setrlimit(RLIMIT_AS, &cap);
    }
    ~AddressSpaceCap() { setrlimit(RLIMIT_AS, &saved); }
};

StarRecord &placeStar(std::int32_t x, std::int32_t y, std::int32_t z) {
    EXPECT_TRUE(allocateStarField(1));
    starField.stars[0] = StarRecord{x, y, z, 200, 200, 200};
    return starField.stars[0];
}

} // namespace

TEST(AllocateStarField, GivesZeroFilledRecordsAndReplacesAnEarlierField) {
    ASSERT_TRUE(allocateStarField(3));
    for (std::int32_t i = 0; i < 3; ++i)
        starField.stars[i] = StarRecord{1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(allocateStarField(5));
    ASSERT_EQ(starField.count, 5);
    for (std::int32_t i = 0; i < 5; ++i) {
        const StarRecord &s = starField.stars[i];
        EXPECT_EQ(s.x | s.y | s.z | s.r | s.g | s.b, 0) << i;
    }
}

TEST(AllocateStarField, NoStarsGivesAnEmptyFieldThatPopulatesAndDrawsNothing) {
    for (std::int32_t n : {0, -1, -500, INT_MIN}) {
        ASSERT_TRUE(allocateStarField(4));
        EXPECT_TRUE(allocateStarField(n)) << n;
        EXPECT_EQ(starField.count, 0) << n;
        EXPECT_EQ(starField.stars, nullptr) << n;
    }
    populateSceneWithSeed(3);
    for (std::int32_t f : cometPath.freq)
        EXPECT_NE(f, 0);
}

TEST(AllocateStarField, FailsCleanlyWhenMemoryCannotBeHad) {
    ASSERT_TRUE(allocateStarField(10));
    bool allocated;
    {
        AddressSpaceCap cap;
        allocated = allocateStarField(INT_MAX);
    }
    EXPECT_FALSE(allocated);
    EXPECT_EQ(starField.count, 0);
    EXPECT_EQ(starField.stars, nullptr);
    EXPECT_TRUE(allocateStarField(10));
}

TEST(BigStarCount, ProductWithoutOverflowTruncatedAndLimitedToTheField) {
    struct Case {
        std::int32_t nbStars, percent, fieldCount, expected;
    };
    const Case cases[] = {
        {500, 20, 500, 100},
        {1000, 90, 1000, 900},
        {7, 90, 7, 6},
        {1, 99, 1, 0},
        {9, 11, 9, 0},
        {500, 200, 500, 500},
        {500, -20, 500, 0},
        {-7, 90, 0, 0},
        {-500, -20, 0, 0},
        {300, 20, 100, 60},
        {300, 90, 100, 100},
        // 30,000,000 x 90 overflows 32 bits.
        {30000000, 90, 30000000, 27000000},
        {INT_MAX, INT_MAX, 1000, 1000},
        {INT_MIN, INT_MAX, 1000, 0},
    };
    for (const Case &c : cases) {
        // Only the count is read, so a large field need not exist.
        NbStars = c.nbStars;
        Percent = c.percent;
        starField.count = c.fieldCount;
        EXPECT_EQ(bigStarCount(), c.expected) << c.nbStars << " x " << c.percent << " over " << c.fieldCount;
    }
    starField.count = 0;
    NbStars = 500;
    Percent = 20;
}

TEST(OnScreen, VisibleAreaIsColumnsOneTo639AndRowsOneTo479) {
    struct Case {
        std::int32_t sx, sy;
        bool visible;
    };
    const Case cases[] = {
        {320, 240, true},  {1, 1, true},      {639, 479, true}, {0, 240, false},  {320, 0, false},
        {640, 240, false}, {320, 480, false}, {-5, 240, false}, {320, -1, false}, {100000, 240, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(onScreen(c.sx, c.sy), c.visible) << c.sx << "," << c.sy;
}

TEST(AdvanceStar, CentreStarIsAlwaysVisibleAndCyclesItsDepth) {
    StarRecord &star = placeStar(0, 0, 1000);
    for (std::int32_t n = 0; n < 1001; ++n) {
        std::int32_t sx = -1, sy = -1, z = -1;
        std::int32_t before = star.z;
        ASSERT_TRUE(advanceStar(0, &sx, &sy, &z)) << before;
        ASSERT_EQ(sx, 320);
        ASSERT_EQ(sy, 240);
        ASSERT_EQ(z, before == 1 ? 1000 : before - 1);
        ASSERT_EQ(star.z, z);
    }
    EXPECT_EQ(star.z, 999);
}

TEST(AdvanceStar, ProjectsWithTheOldDepthAndRestartsWhenOffScreen) {
    StarRecord &star = placeStar(-79600, 0, 249);
    std::int32_t sx, sy, z;
    // -79600 / 249 truncates toward zero to -319.
    ASSERT_TRUE(advanceStar(0, &sx, &sy, &z));
    EXPECT_EQ(sx, 1);
    EXPECT_EQ(sy, 240);
    EXPECT_EQ(z, 248);
    EXPECT_FALSE(advanceStar(0, &sx, &sy, &z));
    EXPECT_EQ(sx, 0);
    EXPECT_EQ(star.z, 1000);
    EXPECT_EQ(z, 1000);
}

TEST(ProjectStar, TruncatesTowardZeroOnBothAxes) {
    struct Case {
        std::int32_t x, y, z, sx, sy;
    };
    const Case cases[] = {
        {-79600, 0, 249, 1, 240}, {-79600, 0, 248, 0, 240},         {79600, 79600, 249, 639, 559},
        {400, -400, 3, 453, 107}, {-80000, -80000, 1000, 240, 160}, {79600, -80000, 1, 79920, -79760},
    };
    for (const Case &c : cases) {
        placeStar(c.x, c.y, c.z);
        std::int32_t sx, sy;
        projectStar(0, &sx, &sy);
        EXPECT_EQ(sx, c.sx) << c.x << "/" << c.z;
        EXPECT_EQ(sy, c.sy) << c.y << "/" << c.z;
    }
}
