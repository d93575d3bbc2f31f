// The device's own mark: a small translucent ring around a four-pointed
// star, pale blue, so a viewer can tell the software device is drawing.
#include "glide/device.h"
#include "glide/pixel.h"

#include <cmath>

namespace {

const int MARK_RED = 190, MARK_GREEN = 220, MARK_BLUE = 255;
const double MARK_OPACITY = 0.6;

std::uint8_t coverage[MARK_SIZE * MARK_SIZE];
bool coverageReady;

double smoothEdge(double distance) {
    // Distance in pixels outside the shape to coverage, one pixel wide.
    double c = 0.5 - distance;
    return c < 0.0 ? 0.0 : c > 1.0 ? 1.0 : c;
}

void buildCoverage() {
    const double centre = MARK_SIZE / 2.0;
    const double ringRadius = 9.5, ringHalfWidth = 1.0, starRadius = 7.0;
    for (int y = 0; y < MARK_SIZE; ++y) {
        for (int x = 0; x < MARK_SIZE; ++x) {
            double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
            double r = std::sqrt(dx * dx + dy * dy);
            double ring = smoothEdge(std::fabs(r - ringRadius) - ringHalfWidth);
            // Four points along the axes: |dx|^0.5 + |dy|^0.5 <= starRadius^0.5.
            double star = std::sqrt(std::fabs(dx)) + std::sqrt(std::fabs(dy)) - std::sqrt(starRadius);
            double starCover = smoothEdge(star * 2.0);
            double cover = ring > starCover ? ring : starCover;
            coverage[y * MARK_SIZE + x] =
                static_cast<std::uint8_t>(std::lround(255.0 * MARK_OPACITY * cover));
        }
    }
    coverageReady = true;
}

int mix(int dst, int mark, int alpha) {
    return div255(mark * alpha + dst * (255 - alpha));
}

} // namespace

void drawDeviceMark(std::uint16_t *pixels) {
    if (!coverageReady) buildCoverage();
    for (int y = 0; y < MARK_SIZE; ++y) {
        std::uint16_t *line = pixels + y * DISPLAY_WIDTH;
        for (int x = 0; x < MARK_SIZE; ++x) {
            int alpha = coverage[y * MARK_SIZE + x];
            if (!alpha) continue;
            std::uint16_t p = line[x];
            line[x] = packPixel(mix(pixelRed(p), MARK_RED, alpha), mix(pixelGreen(p), MARK_GREEN, alpha),
                                mix(pixelBlue(p), MARK_BLUE, alpha), 0);
        }
    }
}
