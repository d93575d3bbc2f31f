// The committed bitmaps: the layout the texture loader relies on, their
// colour tables, the measurable shape of each picture, and that the generator
// still draws exactly these bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Rgb {
    int red;
    int green;
    int blue;
};

struct BitmapFile {
    std::vector<uint8_t> bytes;
    int width;
    int height;
    Rgb palette[256];
    // Stored row order: row 0 is the first stored row, the top of the square on the 3-D display.
    const uint8_t *pixels;
    uint8_t at(int x, int y) const { return pixels[y * width + x]; }
};

uint32_t read32(const std::vector<uint8_t> &b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint16_t read16(const std::vector<uint8_t> &b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

std::vector<uint8_t> readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The resource keeps everything after the 14-byte file header: info header at
// 0, colour table at 40, pixels at 1064. Offsets below are file offsets.
constexpr size_t FILE_HEADER = 14;

BitmapFile loadBitmap(const std::string &name) {
    BitmapFile file{};
    file.bytes = readBytes(std::string(COMET_RESOURCES_DIR) + "/" + name);
    if (file.bytes.size() < FILE_HEADER + 1064) return file;
    file.width = static_cast<int>(read32(file.bytes, FILE_HEADER + 4));
    file.height = static_cast<int>(read32(file.bytes, FILE_HEADER + 8));
    for (int k = 0; k < 256; ++k) {
        const size_t entry = FILE_HEADER + 40 + 4 * k;
        file.palette[k] = Rgb{file.bytes[entry + 2], file.bytes[entry + 1], file.bytes[entry]};
    }
    file.pixels = file.bytes.data() + FILE_HEADER + 1064;
    return file;
}

struct Picture {
    const char *file;
    int size;
};

const Picture PICTURES[] = {{"logo.bmp", 256},
                            {"flare_white_alpha.bmp", 128},
                            {"flare_red_alpha.bmp", 128},
                            {"flare_white.bmp", 128},
                            {"flare_red.bmp", 128}};

TEST(ArtBitmaps, AreEightBitBottomUpDibsOfTheirSize) {
    for (const Picture &picture : PICTURES) {
        SCOPED_TRACE(picture.file);
        const BitmapFile bitmap = loadBitmap(picture.file);
        const uint32_t pixelBytes = static_cast<uint32_t>(picture.size * picture.size);
        ASSERT_EQ(bitmap.bytes.size(), FILE_HEADER + 1064 + pixelBytes);
        EXPECT_EQ(bitmap.bytes[0], 'B');
        EXPECT_EQ(bitmap.bytes[1], 'M');
        EXPECT_EQ(read32(bitmap.bytes, 10), FILE_HEADER + 1064) << "pixels must follow the 256-entry table";
        const size_t info = FILE_HEADER;
        EXPECT_EQ(read32(bitmap.bytes, info), 40u);
        EXPECT_EQ(bitmap.width, picture.size);
        EXPECT_EQ(bitmap.height, picture.size) << "positive: rows bottom-up by the bitmap convention";
        EXPECT_EQ(read16(bitmap.bytes, info + 12), 1);
        EXPECT_EQ(read16(bitmap.bytes, info + 14), 8);
        EXPECT_EQ(read32(bitmap.bytes, info + 16), 0u);
        EXPECT_EQ(read32(bitmap.bytes, info + 20), pixelBytes);
        EXPECT_EQ(read32(bitmap.bytes, info + 32), 0u);
        EXPECT_EQ(read32(bitmap.bytes, info + 36), 0u);
    }
}

TEST(ArtBitmaps, LogoKeepsTheSystemColoursAtBothEndsOfItsTable) {
    const Rgb system[20] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                            {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                            {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
                            {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
                            {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    const BitmapFile logo = loadBitmap("logo.bmp");
    ASSERT_NE(logo.pixels, nullptr);
    for (int k = 0; k < 20; ++k) {
        const int entry = k < 10 ? k : 236 + k;
        SCOPED_TRACE(entry);
        EXPECT_EQ(logo.palette[entry].red, system[k].red);
        EXPECT_EQ(logo.palette[entry].green, system[k].green);
        EXPECT_EQ(logo.palette[entry].blue, system[k].blue);
    }
    // Apart from the black background the picture uses only its own 236 colours.
    for (int i = 0; i < 256 * 256; ++i)
        ASSERT_TRUE(logo.pixels[i] == 0 || (logo.pixels[i] >= 10 && logo.pixels[i] <= 245)) << "pixel " << i;
}

TEST(ArtBitmaps, MasksHaveGreyRampsAndFlaresAWhiteFirstEntry) {
    for (const char *mask : {"flare_white_alpha.bmp", "flare_red_alpha.bmp"}) {
        const BitmapFile bitmap = loadBitmap(mask);
        ASSERT_NE(bitmap.pixels, nullptr) << mask;
        for (int k = 0; k < 256; ++k) {
            ASSERT_EQ(bitmap.palette[k].red, k) << mask << " entry " << k;
            ASSERT_EQ(bitmap.palette[k].green, k) << mask << " entry " << k;
            ASSERT_EQ(bitmap.palette[k].blue, k) << mask << " entry " << k;
        }
    }
    const struct {
        const char *file;
        int highest;
    } flares[] = {{"flare_white.bmp", 155}, {"flare_red.bmp", 184}};
    for (const auto &flare : flares) {
        SCOPED_TRACE(flare.file);
        const BitmapFile bitmap = loadBitmap(flare.file);
        ASSERT_NE(bitmap.pixels, nullptr);
        EXPECT_EQ(bitmap.palette[0].red, 255);
        EXPECT_EQ(bitmap.palette[0].green, 255);
        EXPECT_EQ(bitmap.palette[0].blue, 255);
        const auto range = std::minmax_element(bitmap.pixels, bitmap.pixels + 128 * 128);
        EXPECT_EQ(*range.first, 0);
        EXPECT_EQ(*range.second, flare.highest);
    }
}

// Median of the mask over the pixels whose centres lie within a pixel-wide
// ring around the centre of the square: the glow without its thin rays.
int ringMedian(const BitmapFile &mask, double radius) {
    std::vector<int> values;
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const double distance = std::hypot(x + 0.5 - 64.0, y + 0.5 - 64.0);
            if (std::fabs(distance - radius) <= 0.75) values.push_back(mask.at(x, y));
        }
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int centreValue(const BitmapFile &mask) {
    return std::max({mask.at(63, 63), mask.at(64, 63), mask.at(63, 64), mask.at(64, 64)});
}

TEST(ArtBitmaps, MaskGlowsFollowTheirRadialProfiles) {
    const struct {
        const char *file;
        double radius;
        int low;
        int high;
    } rings[] = {
        {"flare_white_alpha.bmp", 4, 246, 252},    {"flare_white_alpha.bmp", 10, 246, 252},
        {"flare_white_alpha.bmp", 15.5, 246, 252}, {"flare_white_alpha.bmp", 32, 106, 126},
        {"flare_white_alpha.bmp", 63, 13, 23},     {"flare_red_alpha.bmp", 8, 176, 196},
        {"flare_red_alpha.bmp", 16, 89, 105},      {"flare_red_alpha.bmp", 32, 30, 42},
        {"flare_red_alpha.bmp", 48, 4, 6},
    };
    for (const auto &ring : rings) {
        const int median = ringMedian(loadBitmap(ring.file), ring.radius);
        EXPECT_GE(median, ring.low) << ring.file << " at " << ring.radius;
        EXPECT_LE(median, ring.high) << ring.file << " at " << ring.radius;
    }
    const BitmapFile white = loadBitmap("flare_white_alpha.bmp");
    const BitmapFile red = loadBitmap("flare_red_alpha.bmp");
    EXPECT_GE(centreValue(white), 246);
    EXPECT_LE(centreValue(white), 252);
    EXPECT_NEAR(centreValue(red), 244, 2);
    for (const BitmapFile *mask : {&white, &red}) {
        // The corners carry alpha 4, never 0, and nothing is fainter.
        EXPECT_EQ(mask->at(0, 0), 4);
        EXPECT_EQ(mask->at(127, 0), 4);
        EXPECT_EQ(mask->at(0, 127), 4);
        EXPECT_EQ(mask->at(127, 127), 4);
        EXPECT_EQ(*std::min_element(mask->pixels, mask->pixels + 128 * 128), 4);
    }
    // The red glow has died down to the floor well inside the square.
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            if (std::hypot(x + 0.5 - 64.0, y + 0.5 - 64.0) >= 50.0) {
                ASSERT_EQ(red.at(x, y), 4) << x << "," << y;
            }
        }
    }
    // The thin ring stands out of the falling glow.
    EXPECT_GT(ringMedian(red, 22), ringMedian(red, 20));
    EXPECT_GT(ringMedian(red, 22), ringMedian(red, 24) + 10);
}

// Mask values sampled around a circle, one per degree clockwise from straight up.
std::vector<int> aroundCircle(const BitmapFile &mask, double radius) {
    std::vector<int> values;
    for (int degree = 0; degree < 360; ++degree) {
        const double angle = degree * 3.14159265358979323846 / 180.0;
        const int x = static_cast<int>(std::floor(64.0 + radius * std::sin(angle)));
        const int y = static_cast<int>(std::floor(64.0 - radius * std::cos(angle)));
        values.push_back(mask.at(x, y));
    }
    return values;
}

// Separate arcs of the circle that are brighter than the glow by the margin.
int brightArcs(const std::vector<int> &values, int glow, int margin) {
    int arcs = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        const bool bright = values[i] > glow + margin;
        const bool before = values[(i + values.size() - 1) % values.size()] > glow + margin;
        if (bright && !before) ++arcs;
    }
    return arcs;
}

TEST(ArtBitmaps, RaysCrossTheGlows) {
    const BitmapFile white = loadBitmap("flare_white_alpha.bmp");
    // The long ray runs nearly vertically through the centre: bright above and below it.
    const std::vector<int> outer = aroundCircle(white, 30);
    const int glow = ringMedian(white, 30);
    const auto brightest = [&](int from, int to) {
        int best = 0;
        for (int d = from; d <= to; ++d)
            best = std::max(best, outer[(d + 360) % 360]);
        return best;
    };
    EXPECT_GT(brightest(-15, 15), glow + 20) << "above the centre";
    EXPECT_GT(brightest(165, 195), glow + 20) << "below the centre";
    EXPECT_GT(brightest(60, 120), glow + 20) << "the short ray to the right";
    EXPECT_LT(brightest(240, 300), glow + 12) << "nothing to the left";

    const BitmapFile red = loadBitmap("flare_red_alpha.bmp");
    const int rays = brightArcs(aroundCircle(red, 14), ringMedian(red, 14), 12);
    EXPECT_GE(rays, 10);
    EXPECT_LE(rays, 14);
}

struct Box {
    int top = 1 << 30;
    int bottom = -1;
    int left = 1 << 30;
    int right = -1;
    long count = 0;
    double rowSum = 0;
};

void include(Box &box, int x, int y) {
    box.top = std::min(box.top, y);
    box.bottom = std::max(box.bottom, y);
    box.left = std::min(box.left, x);
    box.right = std::max(box.right, x);
    ++box.count;
    box.rowSum += y;
}

TEST(ArtBitmaps, LogoIsAPlateOnBlackWithTheTitleAboveTheAuthorLine) {
    const BitmapFile logo = loadBitmap("logo.bmp");
    ASSERT_NE(logo.pixels, nullptr);
    Box plate, title, author;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const uint8_t index = logo.at(x, y);
            if (index == 0) continue;
            include(plate, x, y);
            const Rgb c = logo.palette[index];
            if (c.red > 150 && c.red > c.blue + 100) include(title, x, y); // yellow to red lettering
            if (c.blue > c.red + 40 && c.blue > c.green + 50) include(author, x, y); // blue-violet lettering
        }
    }
    const double blackShare = 1.0 - plate.count / 65536.0;
    EXPECT_NEAR(blackShare, 0.58, 0.02);
    // Upright positions: stored row 0 is the top of the picture on the 3-D display.
    EXPECT_NEAR(plate.top, 39, 2);
    EXPECT_NEAR(plate.bottom, 211, 2);
    EXPECT_NEAR(plate.left, 14, 2);
    EXPECT_NEAR(plate.right, 246, 2);

    ASSERT_GT(title.count, 2000) << "the title is large";
    ASSERT_GT(author.count, 300);
    EXPECT_LT(author.count, title.count) << "the author line is smaller";
    const double titleRow = title.rowSum / title.count;
    const double authorRow = author.rowSum / author.count;
    EXPECT_LT(titleRow, authorRow) << "stored upside down for a viewer, upright for the display";
    EXPECT_LT(title.bottom, (plate.top + plate.bottom) / 2 + 5)
        << "the title sits in the upper part of the plate";
    // Both centred on the plate.
    const double plateCentre = (plate.left + plate.right) / 2.0;
    EXPECT_NEAR((title.left + title.right) / 2.0, plateCentre, 6);
    EXPECT_NEAR((author.left + author.right) / 2.0, plateCentre, 6);
    EXPECT_GT(title.right - title.left, author.right - author.left) << "the title is the widest line";
}

TEST(ArtGenerator, RedrawsTheCommittedBytes) {
    char folder[] = "/tmp/comet-art-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string command = std::string("\"") + COMET_ARTGEN + "\" " + folder;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const Picture &picture : PICTURES) {
        const std::string drawn = std::string(folder) + "/" + picture.file;
        EXPECT_TRUE(readBytes(drawn) == readBytes(std::string(COMET_RESOURCES_DIR) + "/" + picture.file))
            << picture.file << " differs from what the generator draws";
        std::remove(drawn.c_str());
    }
    rmdir(folder);
}

} // namespace
