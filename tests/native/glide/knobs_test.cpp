// Environment knobs: frame dumps, forced failures, swap statistics.
#include "glide/device.h"
#include "tests/native/glide/device_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string makeTempDir() {
    char name[] = "/tmp/comet-glide-XXXXXX";
    const char *dir = mkdtemp(name);
    return dir ? dir : "";
}

bool exists(const std::string &path) {
    return std::ifstream(path).good();
}

class KnobTest : public ::testing::Test {
  protected:
    void TearDown() override {
        grGlideShutdown();
        for (const char *k :
             {"COMET_GLIDE_DUMP_DIR", "COMET_GLIDE_DUMP_FRAMES", "COMET_GLIDE_FAIL", "COMET_GLIDE_STATS"})
            unsetenv(k);
    }
};

TEST_F(KnobTest, ListedSwapsAreWrittenAsBitmapsOfTheShownPicture) {
    std::string dir = makeTempDir();
    ASSERT_FALSE(dir.empty());
    setenv("COMET_GLIDE_DUMP_DIR", dir.c_str(), 1);
    setenv("COMET_GLIDE_DUMP_FRAMES", "2,4-5", 1);
    ASSERT_TRUE(openDevice());
    grGlideShamelessPlug(FXTRUE);
    for (int frame = 1; frame <= 6; ++frame) {
        grBufferClear(0x00000000, 0, 0);
        useFlatOpaque();
        // Frame 2 gets a red square at (10..20, 30..40), on a black screen.
        if (frame == 2) drawRect(10, 30, 20, 40, Rgb{255, 0, 0});
        grBufferSwap(1);
    }
    for (int frame = 1; frame <= 6; ++frame) {
        char name[64];
        std::snprintf(name, sizeof name, "%s/frame-%06d.bmp", dir.c_str(), frame);
        EXPECT_EQ(exists(name), frame == 2 || frame == 4 || frame == 5) << name;
    }
    std::ifstream in(dir + "/frame-000002.bmp", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 54u + 640 * 480 * 3);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    auto at = [&](int x, int y, int channel) {
        // Bottom-up rows of blue, green, red.
        return static_cast<unsigned char>(bytes[54 + ((479 - y) * 640 + x) * 3 + channel]);
    };
    EXPECT_EQ(at(15, 35, 2), 255);
    EXPECT_EQ(at(15, 35, 1), 0);
    EXPECT_EQ(at(25, 35, 2), 0);
    EXPECT_EQ(at(15, 45, 2), 0);
    int markPixels = 0;
    for (int y = 440; y < 480; ++y)
        for (int x = 600; x < 640; ++x)
            markPixels += at(x, y, 0) != 0;
    EXPECT_GT(markPixels, 20) << "the mark is part of the shown picture";
    for (int frame : {2, 4, 5}) {
        char name[64];
        std::snprintf(name, sizeof name, "%s/frame-%06d.bmp", dir.c_str(), frame);
        std::remove(name);
    }
    rmdir(dir.c_str());
}

TEST_F(KnobTest, FailKnobsMakeQueryOrOpenFail) {
    GrHwConfiguration hw;
    setenv("COMET_GLIDE_FAIL", "query", 1);
    EXPECT_EQ(grSstQueryHardware(&hw), FXFALSE);
    EXPECT_EQ(grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB,
                           GR_ORIGIN_UPPER_LEFT, 2, 0),
              FXTRUE);
    grGlideShutdown();
    setenv("COMET_GLIDE_FAIL", "open", 1);
    EXPECT_EQ(grSstQueryHardware(&hw), FXTRUE);
    EXPECT_EQ(grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB,
                           GR_ORIGIN_UPPER_LEFT, 2, 0),
              FXFALSE);
    std::uint16_t p;
    EXPECT_EQ(grLfbReadRegion(GR_BUFFER_FRONTBUFFER, 0, 0, 1, 1, 2, &p), FXFALSE);
    unsetenv("COMET_GLIDE_FAIL");
    EXPECT_TRUE(openDevice());
}

TEST_F(KnobTest, StatsFileCountsSwapsSinceOpening) {
    std::string dir = makeTempDir();
    ASSERT_FALSE(dir.empty());
    std::string path = dir + "/stats.txt";
    setenv("COMET_GLIDE_STATS", path.c_str(), 1);
    ASSERT_TRUE(openDevice());
    for (int i = 0; i < 3; ++i)
        grBufferSwap(1);
    grGlideShutdown();
    std::ifstream in(path);
    std::string swaps, seconds;
    long count = -1;
    double elapsed = -1;
    in >> swaps >> count >> seconds >> elapsed;
    EXPECT_EQ(swaps, "swaps");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(seconds, "seconds");
    EXPECT_GE(elapsed, 0.0);
    EXPECT_LT(elapsed, 60.0);
    std::remove(path.c_str());
    rmdir(dir.c_str());
}

TEST(FrameList, ParsesNumbersAndRangesAndSkipsNonsense) {
    struct {
        const char *text;
        std::vector<long> listed, notListed;
    } cases[] = {
        {"1,2,257,300-310", {1, 2, 257, 300, 305, 310}, {3, 256, 299, 311}},
        {"x,3,,7-5,9-x,12", {3, 12}, {5, 6, 7, 9}},
        {"0,-4,5", {5}, {0, 4}},
        {"", {}, {1}},
    };
    for (auto &c : cases) {
        std::vector<FrameRange> frames = parseFrameList(c.text);
        for (long f : c.listed)
            EXPECT_TRUE(frameListed(frames, f)) << c.text << " " << f;
        for (long f : c.notListed)
            EXPECT_FALSE(frameListed(frames, f)) << c.text << " " << f;
    }
}

} // namespace
