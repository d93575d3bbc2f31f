// The logo intro on the real Glide device: the frames it showed, as the
// device dumped them (pacing off), compared with the logo bitmap itself.
#include "display/display.h"
#include "tests/win32/display/bitmap_resource.h"
#include "tests/win32/display/saver_registry.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
};

struct Frame {
    int width = 0, height = 0;
    std::vector<Rgb> pixels; // rows top down
    const Rgb &at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

std::uint32_t readLe(const std::vector<std::uint8_t> &bytes, size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}

int expandChannel(std::uint32_t pixel, std::uint32_t mask) {
    if (!mask) return 0;
    int shift = 0, bits = 0;
    while (!(mask >> shift & 1))
        ++shift;
    while (mask >> (shift + bits) & 1)
        ++bits;
    std::uint32_t value = (pixel & mask) >> shift;
    return int(value * 255 / ((1u << bits) - 1));
}

// Uncompressed or bit-field BMP of 16, 24 or 32 bits per pixel.
Frame readBmp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Frame frame;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return frame;
    std::uint32_t offset = readLe(bytes, 10, 4), headerSize = readLe(bytes, 14, 4);
    std::int32_t width = std::int32_t(readLe(bytes, 18, 4)), height = std::int32_t(readLe(bytes, 22, 4));
    int bitCount = int(readLe(bytes, 28, 2));
    std::uint32_t compression = readLe(bytes, 30, 4);
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bitCount >= 24) masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
    if (compression == 3)
        for (int i = 0; i < 3; ++i)
            masks[i] = readLe(bytes, 14 + (headerSize >= 52 ? 40 : headerSize) + 4 * i, 4);
    bool topDown = height < 0;
    height = topDown ? -height : height;
    size_t stride = (size_t(width) * bitCount / 8 + 3) & ~size_t(3);
    if (offset + stride * height > bytes.size()) return frame;
    frame.width = width;
    frame.height = height;
    frame.pixels.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        size_t row = offset + stride * (topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = readLe(bytes, row + size_t(x) * bitCount / 8, bitCount / 8);
            frame.pixels[size_t(y) * width + x] = {expandChannel(pixel, masks[0]),
                                                   expandChannel(pixel, masks[1]),
                                                   expandChannel(pixel, masks[2])};
        }
    }
    return frame;
}

// The dumped frame whose file name carries the swap number.
Frame dumpedFrame(int swap) {
    const char *dir = std::getenv("COMET_GLIDE_DUMP_DIR");
    if (!dir) return {};
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(dir) + "\\*.bmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::string match;
    do {
        std::string digits;
        for (const char *c = found.cFileName; *c; ++c)
            if (*c >= '0' && *c <= '9') digits += *c;
        if (!digits.empty() && std::atoi(digits.c_str()) == swap) match = found.cFileName;
    } while (match.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return match.empty() ? Frame{} : readBmp(std::string(dir) + "\\" + match);
}

void clearDumps() {
    const char *dir = std::getenv("COMET_GLIDE_DUMP_DIR");
    ASSERT_NE(dir, nullptr) << "the test needs COMET_GLIDE_DUMP_DIR";
    CreateDirectoryA(dir, nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(dir) + "\\*.bmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do
        DeleteFileA((std::string(dir) + "\\" + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
}

const int SQUARE_LEFT = 192, SQUARE_TOP = 112, SQUARE_SIDE = 256;

bool insideSquare(int x, int y) {
    return x >= SQUARE_LEFT && x < SQUARE_LEFT + SQUARE_SIDE && y >= SQUARE_TOP &&
           y < SQUARE_TOP + SQUARE_SIDE;
}

int brightest(const Rgb &c) {
    return std::max(c.r, std::max(c.g, c.b));
}

class IntroFrames : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        removeSaverSettings();
        storeSaverSetting("LogoOn", 1);
        clearDumps();
        initialised = initDisplayAndScene(GetModuleHandleA(nullptr));
        shutdownDisplay();
        removeSaverSettings();
    }
    static bool initialised;
};
bool IntroFrames::initialised;

TEST_F(IntroFrames, FirstTwoFramesAreBlack) {
    ASSERT_TRUE(initialised);
    for (int swap : {1, 2}) {
        SCOPED_TRACE(swap);
        Frame frame = dumpedFrame(swap);
        ASSERT_EQ(frame.width, 640);
        ASSERT_EQ(frame.height, 480);
        int lit = 0;
        for (const Rgb &c : frame.pixels)
            lit += brightest(c) != 0;
        EXPECT_EQ(lit, 0);
    }
}

// At full level the square shows the logo texel for texel: upright (first
// stored row at the top), centred, black all around.
TEST_F(IntroFrames, BrightestFrameShowsTheLogoUprightAndCentred) {
    ASSERT_TRUE(initialised);
    Frame frame = dumpedFrame(257);
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);
    BitmapResource logo = findBitmapResource(104);
    ASSERT_NE(logo.bytes, nullptr);

    int litOutside = 0, unlike = 0, plate = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const Rgb &c = frame.at(x, y);
            if (!insideSquare(x, y)) {
                litOutside += brightest(c) != 0;
                continue;
            }
            // s and t run 0..255 across the 256 pixels, sampled at pixel centres.
            int s = int((x - SQUARE_LEFT + 0.5) * 255 / 256), t = int((y - SQUARE_TOP + 0.5) * 255 / 256);
            std::uint32_t want = colourTableEntry(logo, bitmapPixels(logo)[t * 256 + s]);
            int dr = c.r - int(want >> 16 & 0xFF), dg = c.g - int(want >> 8 & 0xFF),
                db = c.b - int(want & 0xFF);
            // One 565 step plus dithering either way.
            unlike += std::abs(dr) > 16 || std::abs(dg) > 8 || std::abs(db) > 16;
            plate += want != 0;
        }
    EXPECT_EQ(litOutside, 0);
    EXPECT_GT(plate, SQUARE_SIDE * SQUARE_SIDE / 4) << "the logo's plate is missing";
    // Points where two texels meet may sample either one.
    EXPECT_LT(unlike, SQUARE_SIDE * SQUARE_SIDE / 100);
}

TEST_F(IntroFrames, LastFrameIsAlmostBlackAtLevelTwo) {
    ASSERT_TRUE(initialised);
    Frame frame = dumpedFrame(510);
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);
    int tooBright = 0, lit = 0;
    for (const Rgb &c : frame.pixels) {
        // White scaled by 2/255 is 2: at most one 565 step after dithering.
        tooBright += brightest(c) > 8;
        lit += brightest(c) != 0;
    }
    EXPECT_EQ(tooBright, 0);
    // Dithering lifts some of the plate's faint pixels one step: it is not the
    // empty black frame.
    EXPECT_GT(lit, 0);
}

} // namespace
