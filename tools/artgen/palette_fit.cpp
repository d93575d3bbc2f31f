#include "tools/artgen/palette_fit.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct ColorCount {
    int channel[3];
    uint32_t color;
    double count;
};

struct Box {
    std::vector<ColorCount> colors;
    double count;
};

int channelOf(uint32_t color, int channel) {
    return static_cast<int>((color >> (16 - 8 * channel)) & 0xFFu);
}

// Weights close to how strongly the eye tells the channels apart.
constexpr int CHANNEL_WEIGHT[3] = {3, 4, 2};

int colorDistance(const PaletteColor &entry, uint32_t color) {
    const int dr = entry.red - channelOf(color, 0);
    const int dg = entry.green - channelOf(color, 1);
    const int db = entry.blue - channelOf(color, 2);
    return CHANNEL_WEIGHT[0] * dr * dr + CHANNEL_WEIGHT[1] * dg * dg + CHANNEL_WEIGHT[2] * db * db;
}

// The spread worth splitting: weighted range of the widest channel times the pixel count.
double boxPriority(const Box &box, int &widest) {
    double best = -1.0;
    widest = 0;
    for (int c = 0; c < 3; ++c) {
        int low = 255, high = 0;
        for (const ColorCount &entry : box.colors) {
            low = std::min(low, entry.channel[c]);
            high = std::max(high, entry.channel[c]);
        }
        const double range = static_cast<double>(high - low) * CHANNEL_WEIGHT[c];
        if (range > best) {
            best = range;
            widest = c;
        }
    }
    return box.colors.size() < 2 ? -1.0 : best * best * box.count;
}

PaletteColor meanColor(const std::vector<ColorCount> &colors) {
    double sum[3] = {0, 0, 0};
    double total = 0.0;
    for (const ColorCount &entry : colors) {
        for (int c = 0; c < 3; ++c)
            sum[c] += entry.channel[c] * entry.count;
        total += entry.count;
    }
    return PaletteColor{static_cast<uint8_t>(std::lround(sum[0] / total)),
                        static_cast<uint8_t>(std::lround(sum[1] / total)),
                        static_cast<uint8_t>(std::lround(sum[2] / total))};
}

} // namespace

int nearestEntry(const PaletteColor *palette, int first, int last, uint32_t color) {
    int best = first;
    int bestDistance = colorDistance(palette[first], color);
    for (int i = first + 1; i <= last; ++i) {
        const int distance = colorDistance(palette[i], color);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

std::vector<PaletteColor> fitPalette(const std::vector<uint32_t> &pixels, int count) {
    std::map<uint32_t, double> histogram;
    for (uint32_t color : pixels)
        histogram[color] += 1.0;
    Box all{{}, 0.0};
    for (const auto &[color, n] : histogram) {
        all.colors.push_back({{channelOf(color, 0), channelOf(color, 1), channelOf(color, 2)}, color, n});
        all.count += n;
    }

    std::vector<Box> boxes{all};
    while (static_cast<int>(boxes.size()) < count) {
        size_t chosen = 0;
        int channel = 0;
        double best = -1.0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            int widest;
            const double priority = boxPriority(boxes[i], widest);
            if (priority > best) {
                best = priority;
                chosen = i;
                channel = widest;
            }
        }
        if (best <= 0.0) break;
        Box &box = boxes[chosen];
        // Sorted by the channel, then by the whole colour: a total order, so the split never depends on the
        // sort.
        std::sort(box.colors.begin(), box.colors.end(), [channel](const ColorCount &a, const ColorCount &b) {
            return a.channel[channel] != b.channel[channel] ? a.channel[channel] < b.channel[channel]
                                                            : a.color < b.color;
        });
        double running = 0.0;
        size_t split = 1;
        for (size_t i = 0; i + 1 < box.colors.size(); ++i) {
            running += box.colors[i].count;
            split = i + 1;
            if (running >= box.count / 2.0) break;
        }
        Box upper{std::vector<ColorCount>(box.colors.begin() + static_cast<long>(split), box.colors.end()),
                  0.0};
        box.colors.resize(split);
        box.count = 0.0;
        for (const ColorCount &entry : box.colors)
            box.count += entry.count;
        for (const ColorCount &entry : upper.colors)
            upper.count += entry.count;
        boxes.push_back(upper);
    }

    std::vector<PaletteColor> palette;
    for (const Box &box : boxes)
        palette.push_back(meanColor(box.colors));
    while (static_cast<int>(palette.size()) < count)
        palette.push_back(palette.back());

    // k-means rounds move each entry to the mean of the colours nearest to it.
    for (int round = 0; round < 6; ++round) {
        std::vector<std::vector<ColorCount>> members(palette.size());
        for (const ColorCount &entry : all.colors)
            members[nearestEntry(palette.data(), 0, count - 1, entry.color)].push_back(entry);
        for (size_t i = 0; i < palette.size(); ++i)
            if (!members[i].empty()) palette[i] = meanColor(members[i]);
    }
    // Dark to light, so the colour table reads as an orderly set of ramps.
    std::sort(palette.begin(), palette.end(), [](const PaletteColor &a, const PaletteColor &b) {
        const int la = 3 * a.red + 4 * a.green + 2 * a.blue;
        const int lb = 3 * b.red + 4 * b.green + 2 * b.blue;
        if (la != lb) return la < lb;
        return (a.red << 16 | a.green << 8 | a.blue) < (b.red << 16 | b.green << 8 | b.blue);
    });
    return palette;
}
