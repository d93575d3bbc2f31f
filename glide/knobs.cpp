// Environment knobs for tests and benchmarks: frame dumps and swap statistics.
// The saver itself has no way to set them.
#include "glide/device.h"
#include "glide/pixel.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

std::vector<FrameRange> parseFrameList(const char *text) {
    std::vector<FrameRange> frames;
    if (!text) return frames;
    const char *p = text;
    while (*p) {
        char *end;
        errno = 0;
        long first = std::strtol(p, &end, 10);
        bool ok = end != p && errno == 0 && first > 0;
        long last = first;
        p = end;
        if (ok && *p == '-') {
            const char *from = p + 1;
            last = std::strtol(from, &end, 10);
            ok = end != from && errno == 0 && last >= first;
            p = end;
        }
        if (ok && (*p == ',' || *p == '\0')) frames.push_back(FrameRange{first, last});
        // Skip the rest of a malformed item.
        while (*p && *p != ',')
            ++p;
        if (*p == ',') ++p;
    }
    return frames;
}

bool frameListed(const std::vector<FrameRange> &frames, long frame) {
    for (const FrameRange &r : frames)
        if (frame >= r.first && frame <= r.last) return true;
    return false;
}

void readDeviceKnobs(DeviceKnobs &knobs) {
    const char *dir = std::getenv("COMET_GLIDE_DUMP_DIR");
    const char *frames = std::getenv("COMET_GLIDE_DUMP_FRAMES");
    const char *stats = std::getenv("COMET_GLIDE_STATS");
    knobs.dumpDir = dir ? dir : "";
    knobs.dumpFrames = parseFrameList(frames);
    knobs.statsPath = stats ? stats : "";
}

static void putLe(unsigned char *at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

bool writeFrameBmp(const std::string &path, const std::uint16_t *pixels) {
    const int rowBytes = DISPLAY_WIDTH * 3; // already a multiple of 4
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(rowBytes) * DISPLAY_HEIGHT;
    unsigned char header[54] = {'B', 'M'};
    putLe(header + 2, 54 + imageBytes, 4);
    putLe(header + 10, 54, 4);
    putLe(header + 14, 40, 4);
    putLe(header + 18, DISPLAY_WIDTH, 4);
    putLe(header + 22, DISPLAY_HEIGHT, 4);
    putLe(header + 26, 1, 2);
    putLe(header + 28, 24, 2);
    putLe(header + 34, imageBytes, 4);
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(header, sizeof header, 1, f) == 1;
    std::vector<unsigned char> row(rowBytes);
    for (int y = DISPLAY_HEIGHT - 1; ok && y >= 0; --y) {
        const std::uint16_t *line = pixels + y * DISPLAY_WIDTH;
        for (int x = 0; x < DISPLAY_WIDTH; ++x) {
            row[3 * x] = static_cast<unsigned char>(pixelBlue(line[x]));
            row[3 * x + 1] = static_cast<unsigned char>(pixelGreen(line[x]));
            row[3 * x + 2] = static_cast<unsigned char>(pixelRed(line[x]));
        }
        ok = std::fwrite(row.data(), row.size(), 1, f) == 1;
    }
    return std::fclose(f) == 0 && ok;
}

void writeStatsFile(const std::string &path, const DeviceStats &stats) {
    std::FILE *f = std::fopen(path.c_str(), "w");
    if (!f) return;
    double seconds = std::chrono::duration<double>(stats.lastSwap - stats.firstSwap).count();
    std::fprintf(f, "swaps %ld seconds %.6f\n", stats.swaps, stats.swaps ? seconds : 0.0);
    std::fclose(f);
}
