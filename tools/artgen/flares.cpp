#include "tools/artgen/flares.h"

#include "tools/artgen/art_math.h"

#include <cmath>
#include <vector>

namespace {

constexpr int FLARE_SIZE = 128;
constexpr double FLARE_CENTRE = 64.0;
// The sprite's corners must keep a faint alpha of 4, never 0.
constexpr double FLOOR_ALPHA = 4.0;

struct ProfileKnot {
    double radius;
    double value;
};

struct Ray {
    double directionX;
    double directionY;
    double start; // distance from the centre; negative runs through it
    double end;
    double halfWidth;
    double peak;
};

// Monotone cubic interpolation: smooth through every knot without overshoot,
// so the measured radii land on the knot values.
double profileAt(const std::vector<ProfileKnot> &knots, double radius) {
    if (radius <= knots.front().radius) return knots.front().value;
    if (radius >= knots.back().radius) return knots.back().value;
    const size_t count = knots.size();
    std::vector<double> slopes(count - 1);
    for (size_t i = 0; i + 1 < count; ++i)
        slopes[i] = (knots[i + 1].value - knots[i].value) / (knots[i + 1].radius - knots[i].radius);
    std::vector<double> tangents(count);
    tangents[0] = slopes[0];
    tangents[count - 1] = slopes[count - 2];
    for (size_t i = 1; i + 1 < count; ++i)
        tangents[i] = slopes[i - 1] * slopes[i] <= 0.0 ? 0.0 : (slopes[i - 1] + slopes[i]) / 2.0;
    for (size_t i = 0; i + 1 < count; ++i) {
        if (slopes[i] == 0.0) {
            tangents[i] = tangents[i + 1] = 0.0;
            continue;
        }
        const double a = tangents[i] / slopes[i];
        const double b = tangents[i + 1] / slopes[i];
        const double length = a * a + b * b;
        if (length > 9.0) {
            const double scale = 3.0 / std::sqrt(length);
            tangents[i] = scale * a * slopes[i];
            tangents[i + 1] = scale * b * slopes[i];
        }
    }
    size_t i = 0;
    while (radius > knots[i + 1].radius)
        ++i;
    const double span = knots[i + 1].radius - knots[i].radius;
    const double t = (radius - knots[i].radius) / span;
    const double t2 = t * t;
    const double t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * knots[i].value + (t3 - 2 * t2 + t) * span * tangents[i] +
           (-2 * t3 + 3 * t2) * knots[i + 1].value + (t3 - t2) * span * tangents[i + 1];
}

Ray rayAtAngle(double degrees, double start, double end, double halfWidth, double peak) {
    // Angles run clockwise from straight up, in upright picture coordinates.
    const double radians = degrees * ART_PI / 180.0;
    return Ray{artSin(radians), -artCos(radians), start, end, halfWidth, peak};
}

double rayAt(const Ray &ray, double dx, double dy) {
    const double along = dx * ray.directionX + dy * ray.directionY;
    const double across = dx * ray.directionY - dy * ray.directionX;
    if (along <= ray.start || along >= ray.end) return 0.0;
    double taper;
    if (ray.start < 0.0) {
        // A ray through the centre is brightest there and fades towards both ends.
        const double reach = along < 0.0 ? -ray.start : ray.end;
        taper = 1.0 - smoothStep(0.0, reach, std::fabs(along));
    } else {
        taper = smoothStep(ray.start, ray.start + 4.0, along) * (1.0 - smoothStep(ray.start, ray.end, along));
    }
    const double width = ray.halfWidth * (0.6 + 0.4 * taper);
    return ray.peak * taper * artExp(-(across * across) / (width * width));
}

// The alpha field before rounding: glow profile, then rays blended in like light.
std::vector<double> alphaField(const std::vector<ProfileKnot> &knots, const std::vector<Ray> &rays,
                               double ringPeak, double ringRadius) {
    std::vector<double> field(FLARE_SIZE * FLARE_SIZE);
    const double ceiling = knots.front().value;
    for (int y = 0; y < FLARE_SIZE; ++y) {
        for (int x = 0; x < FLARE_SIZE; ++x) {
            const double dx = x + 0.5 - FLARE_CENTRE;
            const double dy = y + 0.5 - FLARE_CENTRE;
            const double radius = std::sqrt(dx * dx + dy * dy);
            double alpha = profileAt(knots, radius);
            if (ringPeak > 0.0) {
                const double offset = (radius - ringRadius) / 0.9;
                alpha += ringPeak * artExp(-offset * offset);
            }
            for (const Ray &ray : rays) {
                const double light = rayAt(ray, dx, dy);
                alpha += light * (255.0 - alpha) / 255.0;
            }
            field[y * FLARE_SIZE + x] =
                alpha > ceiling ? ceiling : (alpha < FLOOR_ALPHA ? FLOOR_ALPHA : alpha);
        }
    }
    return field;
}

void fillGreyRamp(Bitmap8 &bitmap) {
    for (int i = 0; i < 256; ++i) {
        const uint8_t level = static_cast<uint8_t>(i);
        bitmap.palette[i] = PaletteColor{level, level, level};
    }
}

struct ColorKnot {
    int index;
    double red;
    double green;
    double blue;
};

// Entry 0 is the core's white; entries past the last knot repeat its colour.
void fillColorRamp(Bitmap8 &bitmap, const std::vector<ColorKnot> &knots) {
    for (int i = 0; i < 256; ++i) {
        size_t k = 0;
        while (k + 2 < knots.size() && i > knots[k + 1].index)
            ++k;
        const ColorKnot &a = knots[k];
        const ColorKnot &b = knots[k + 1];
        const double t = clampUnit(static_cast<double>(i - a.index) / (b.index - a.index));
        bitmap.palette[i] = PaletteColor{static_cast<uint8_t>(std::lround(mix(a.red, b.red, t))),
                                         static_cast<uint8_t>(std::lround(mix(a.green, b.green, t))),
                                         static_cast<uint8_t>(std::lround(mix(a.blue, b.blue, t)))};
    }
}

uint8_t roundByte(double value) {
    return static_cast<uint8_t>(std::lround(value));
}

// Brightness becomes a ramp position: full brightness is entry 0 (white), the
// faint floor is the last entry (dark grey). The power of 3/4 darkens the halo
// sooner than a straight line would.
double rampPosition(double alpha, double brightAlpha) {
    const double darkness = 1.0 - clampUnit((alpha - FLOOR_ALPHA) / (brightAlpha - FLOOR_ALPHA));
    const double root = std::sqrt(darkness);
    return root * std::sqrt(root);
}

} // namespace

FlarePair makeWhiteFlare() {
    const std::vector<ProfileKnot> knots = {{0, 252}, {8, 251}, {16, 246}, {24, 196}, {32, 116}, {40, 68},
                                            {48, 40}, {56, 26}, {64, 18},  {76, 9},   {88, 4}};
    const std::vector<Ray> rays = {
        rayAtAngle(6.0, -60.0, 62.0, 0.9, 150.0), // the long one, nearly vertical, through the centre
        rayAtAngle(84.0, 8.0, 52.0, 0.8, 140.0),  // short, to the right
        rayAtAngle(218.0, 10.0, 34.0, 0.6, 45.0),
        rayAtAngle(312.0, 10.0, 30.0, 0.6, 40.0),
    };
    const std::vector<double> field = alphaField(knots, rays, 0.0, 0.0);

    FlarePair flare{makeBitmap8(FLARE_SIZE, FLARE_SIZE), makeBitmap8(FLARE_SIZE, FLARE_SIZE)};
    fillGreyRamp(flare.alpha);
    constexpr int LAST_INDEX = 155;
    fillColorRamp(flare.color, {{0, 255, 255, 255},
                                {14, 250, 252, 255},
                                {40, 214, 224, 246},
                                {80, 150, 162, 192},
                                {115, 92, 98, 114},
                                {LAST_INDEX, 44, 45, 50}});
    for (size_t i = 0; i < field.size(); ++i) {
        flare.alpha.pixels[i] = roundByte(field[i]);
        flare.color.pixels[i] = roundByte(LAST_INDEX * rampPosition(field[i], 248.0));
    }
    return flare;
}

FlarePair makeRedFlare() {
    const std::vector<ProfileKnot> knots = {{0, 244}, {1, 244}, {4, 229}, {8, 186}, {12, 139}, {16, 97},
                                            {20, 69}, {24, 53}, {32, 36}, {40, 15}, {48, 4}};
    constexpr double RING_RADIUS = 22.0;
    ArtRandom random{0x5EED0108u};
    std::vector<Ray> rays;
    for (int k = 0; k < 12; ++k) {
        const double angle = 30.0 * k + randomRange(random, -9.0, 9.0);
        const double end = randomRange(random, 26.0, 40.0);
        const double width = randomRange(random, 0.55, 0.85);
        const double peak = randomRange(random, 45.0, 90.0);
        rays.push_back(rayAtAngle(angle, 4.0, end, width, peak));
    }
    const std::vector<double> field = alphaField(knots, rays, 22.0, RING_RADIUS);

    FlarePair flare{makeBitmap8(FLARE_SIZE, FLARE_SIZE), makeBitmap8(FLARE_SIZE, FLARE_SIZE)};
    fillGreyRamp(flare.alpha);
    constexpr int LAST_INDEX = 184;
    constexpr double RING_INDEX = 72.0;
    fillColorRamp(flare.color, {{0, 255, 255, 255},
                                {12, 255, 240, 242},
                                {40, 255, 168, 186},
                                {70, 236, 58, 60},
                                {110, 170, 40, 38},
                                {150, 108, 44, 42},
                                {LAST_INDEX, 54, 50, 50}});
    for (int y = 0; y < FLARE_SIZE; ++y) {
        for (int x = 0; x < FLARE_SIZE; ++x) {
            const size_t i = static_cast<size_t>(y) * FLARE_SIZE + x;
            const double dx = x + 0.5 - FLARE_CENTRE;
            const double dy = y + 0.5 - FLARE_CENTRE;
            const double offset = (std::sqrt(dx * dx + dy * dy) - RING_RADIUS) / 1.1;
            double index = LAST_INDEX * rampPosition(field[i], 240.0);
            // The ring is drawn in a clear red, whatever the glow around it.
            index = mix(index, RING_INDEX, 0.85 * artExp(-offset * offset));
            flare.alpha.pixels[i] = roundByte(field[i]);
            flare.color.pixels[i] = roundByte(index);
        }
    }
    return flare;
}
