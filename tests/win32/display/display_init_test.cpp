// The display set-up as a whole, call by call, through the recording Glide
// device, with the settings taken from the registry.
#include "display/display.h"
#include "scene/scene.h"
#include "tests/support/glide_recorder.h"
#include "tests/win32/display/saver_registry.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> OPEN_AND_RENDER_STATE = {
    "grGlideInit()",
    "grSstQueryHardware()",
    "grSstSelect(0)",
    "grSstWinOpen(0, 7, 0, 0, 0, 2, 0)",
    "grTexMinAddress(0)",
    "grTexDownloadMipMap(0, 0, 3)",
    "grTexTextureMemRequired(3)",
    "grTexDownloadMipMap(0, 65536, 3)",
    "grTexTextureMemRequired(3)",
    "grTexDownloadMipMap(0, 98304, 3)",
    "grTexTextureMemRequired(3)",
    "grBufferClear(0, 0, 0)",
    "grRenderBuffer(1)",
    "grClipWindow(0, 0, 640, 480)",
    "grConstantColorValue(0)",
    "grDitherMode(2)",
    "guFogGenerateLinear(0, 1000)",
    "grFogTable()",
    "grFogColorValue(983055)",
    "grFogMode(2)",
    "grTexCombine(0, 1, 0, 1, 0, 0, 0)",
};
const std::vector<std::string> FINISH = {"grGlideShamelessPlug(1)", "grConstantColorValue(520093696)"};
const size_t INTRO_CALLS = 3 + 510 * 5;

class DisplayInit : public ::testing::Test {
  protected:
    void SetUp() override {
        removeSaverSettings();
        resetGlideRecorder();
    }
    void TearDown() override { removeSaverSettings(); }
};

// The calls between the render state and the final two.
std::vector<GlideCall> middleCalls() {
    size_t begin = OPEN_AND_RENDER_STATE.size();
    if (glideCalls.size() < begin + FINISH.size()) return {};
    return std::vector<GlideCall>(glideCalls.begin() + begin, glideCalls.end() - FINISH.size());
}

// The constant colour each intro frame was drawn with, frame by frame.
std::vector<GrColor_t> levelsDrawnPerSwap() {
    std::vector<GrColor_t> levels;
    GrColor_t current = 0xDEADBEEF, drawnWith = 0xDEADBEEF;
    for (const GlideCall &call : glideCalls) {
        if (call.name == "grConstantColorValue") current = GrColor_t(call.args[0]);
        if (call.name == "grDrawTriangle") drawnWith = current;
        if (call.name == "grBufferSwap") levels.push_back(drawnWith);
    }
    return levels;
}

TEST_F(DisplayInit, OpensLoadsSetsStateAndFinishesInOrderWhateverTheLogoSetting) {
    struct Case {
        const char *what;
        bool storeLogo;
        DWORD logoOn;
        DWORD nbStars, percent;
        size_t introCalls;
        GrColor_t colourBeforeFinish;
    } cases[] = {
        {"nothing stored: saver defaults", false, 0, 500, 20, INTRO_CALLS, 0x010101},
        {"LogoOn 1", true, 1, 60, 30, INTRO_CALLS, 0x010101},
        {"LogoOn 0", true, 0, 60, 30, 0, 0},
        {"LogoOn 2", true, 2, 75, 90, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        removeSaverSettings();
        resetGlideRecorder();
        if (c.storeLogo) {
            storeSaverSetting("LogoOn", c.logoOn);
            storeSaverSetting("NbStars", c.nbStars);
            storeSaverSetting("Percent", c.percent);
        }
        ASSERT_TRUE(initDisplayAndScene(GetModuleHandleA(nullptr)));

        std::vector<std::string> calls = describeGlideCalls();
        ASSERT_EQ(calls.size(), OPEN_AND_RENDER_STATE.size() + c.introCalls + FINISH.size());
        EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + OPEN_AND_RENDER_STATE.size()),
                  OPEN_AND_RENDER_STATE);
        EXPECT_EQ(std::vector<std::string>(calls.end() - FINISH.size(), calls.end()), FINISH);

        GrColor_t before = 0;
        for (const GlideCall &call : middleCalls())
            if (call.name == "grConstantColorValue") before = GrColor_t(call.args[0]);
        EXPECT_EQ(before, c.colourBeforeFinish);

        EXPECT_EQ(NbStars, std::int32_t(c.nbStars));
        EXPECT_EQ(Percent, std::int32_t(c.percent));
        EXPECT_EQ(starField.count, std::int32_t(c.nbStars));
    }
}

TEST_F(DisplayInit, LoadsTheSameFogTableItGenerated) {
    ASSERT_TRUE(initDisplayAndScene(GetModuleHandleA(nullptr)));
    const GlideCall &generate = glideCalls[16], &table = glideCalls[17];
    ASSERT_EQ(generate.name, "guFogGenerateLinear");
    ASSERT_EQ(table.name, "grFogTable");
    EXPECT_EQ(table.pointers[0], generate.pointers[0]);
}

TEST_F(DisplayInit, IntroFadesTheCentredLogoInAndOutOverFiveHundredTenFrames) {
    storeSaverSetting("LogoOn", 1);
    ASSERT_TRUE(initDisplayAndScene(GetModuleHandleA(nullptr)));
    std::vector<GlideCall> intro = middleCalls();
    ASSERT_EQ(intro.size(), INTRO_CALLS);

    EXPECT_EQ(describeGlideCall(intro[0]), "grColorCombine(3, 1, 1, 1, 0)");
    EXPECT_EQ(describeGlideCall(intro[1]), "grTexDownloadTable(0, 2)");
    EXPECT_EQ(intro[1].pointers[0], &logoSlot.palette);
    ASSERT_EQ(intro[1].data.size(), sizeof(GuTexPalette));
    EXPECT_EQ(std::memcmp(intro[1].data.data(), &logoSlot.palette, sizeof(GuTexPalette)), 0);
    EXPECT_EQ(describeGlideCall(intro[2]), "grTexSource(0, 0, 3)");
    EXPECT_EQ(intro[2].pointers[0], &logoSlot.info);

    int badPasses = 0;
    for (size_t pass = 0; pass < 510; ++pass) {
        const GlideCall *p = &intro[3 + 5 * pass];
        bool good =
            p[0].name == "grDrawTriangle" && p[1].name == "grDrawTriangle" &&
            describeGlideCall(p[2]) == "grBufferSwap(1)" &&
            describeGlideCall(p[3]) == "grBufferClear(0, 0, 65535)" && p[4].name == "grConstantColorValue" &&
            p[0].pointers == std::vector<const void *>{&SpriteVertex0, &SpriteVertex1, &SpriteVertex2} &&
            p[1].pointers == std::vector<const void *>{&SpriteVertex1, &SpriteVertex2, &SpriteVertex3};
        badPasses += !good;
    }
    EXPECT_EQ(badPasses, 0);

    // The 256 square centred on the screen, texture top-left to bottom-right.
    const std::vector<GrVertex> &corners = intro[3].vertices;
    ASSERT_EQ(corners.size(), 3u);
    const float expected[3][4] = {{192, 112, 0, 0}, {448, 112, 255, 0}, {192, 368, 0, 255}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(corners[i].x, expected[i][0]);
        EXPECT_EQ(corners[i].y, expected[i][1]);
        EXPECT_EQ(corners[i].tmuvtx[0].sow, expected[i][2]);
        EXPECT_EQ(corners[i].tmuvtx[0].tow, expected[i][3]);
        EXPECT_EQ(corners[i].oow, 1.0f);
    }
    EXPECT_EQ(intro[4].vertices[2].x, 448);
    EXPECT_EQ(intro[4].vertices[2].y, 368);
}

TEST_F(DisplayInit, EachIntroFrameIsDrawnWithTheLevelThePassBeforeLeft) {
    storeSaverSetting("LogoOn", 1);
    ASSERT_TRUE(initDisplayAndScene(GetModuleHandleA(nullptr)));
    std::vector<GrColor_t> levels = levelsDrawnPerSwap();
    ASSERT_EQ(levels.size(), 510u);

    // Frames numbered from 1; within a run the level moves by step each frame.
    struct Run {
        int first, last, level, step;
    } runs[] = {{1, 2, 0, 0}, {3, 255, 1, 1}, {256, 257, 254, 1}, {258, 510, 254, -1}};
    for (const Run &run : runs)
        for (int frame = run.first; frame <= run.last; ++frame) {
            GrColor_t l = GrColor_t(run.level + run.step * (frame - run.first));
            ASSERT_EQ(levels[frame - 1], l * 0x010101u) << "frame " << frame;
        }
}

TEST_F(DisplayInit, FailsWithExactlyTheCleanUpEachFailureNeeds) {
    const std::vector<std::string> opened = {"grGlideInit()", "grSstQueryHardware()", "grSstSelect(0)",
                                             "grSstWinOpen(0, 7, 0, 0, 0, 2, 0)"};
    struct Case {
        const char *what;
        bool hardware, opens;
        DWORD nbStars;
        std::vector<std::string> calls;
    } cases[] = {
        {"no board", false, true, 500, {"grGlideInit()", "grSstQueryHardware()"}},
        {"display cannot open", true, false, 500, opened},
        {"star field cannot be had", true, true, 0x7FFFFFFF, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        resetGlideRecorder();
        recorderHardwarePresent = c.hardware;
        recorderOpenSucceeds = c.opens;
        storeSaverSetting("NbStars", c.nbStars);
        EXPECT_FALSE(initDisplayAndScene(GetModuleHandleA(nullptr)));
        EXPECT_EQ(describeGlideCalls(), c.calls);
    }
}

} // namespace
