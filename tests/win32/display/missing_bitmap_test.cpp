// A program that lacks the red flare's mask: loading gets through the logo
// and the white flare, then fails and shuts Glide down.
#include "display/display.h"
#include "tests/support/glide_recorder.h"
#include "tests/win32/display/saver_registry.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(MissingBitmap, FailsAfterTwoDownloadsWithGlideShutDown) {
    removeSaverSettings();
    resetGlideRecorder();
    EXPECT_FALSE(initDisplayAndScene(GetModuleHandleA(nullptr)));

    const std::vector<std::string> expected = {
        "grGlideInit()",
        "grSstQueryHardware()",
        "grSstSelect(0)",
        "grSstWinOpen(0, 7, 0, 0, 0, 2, 0)",
        "grTexMinAddress(0)",
        "grTexDownloadMipMap(0, 0, 3)",
        "grTexTextureMemRequired(3)",
        "grTexDownloadMipMap(0, 65536, 3)",
        "grTexTextureMemRequired(3)",
        // No render state, no intro, no scene calls.
        "grGlideShutdown()",
    };
    EXPECT_EQ(describeGlideCalls(), expected);
}

} // namespace
