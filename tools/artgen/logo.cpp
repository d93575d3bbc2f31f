#include "tools/artgen/logo.h"

#include "tools/artgen/art_math.h"
#include "tools/artgen/grid.h"
#include "tools/artgen/lettering.h"
#include "tools/artgen/palette_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int LOGO_SIZE = 256;
// Everything is drawn at 4 x 4 samples a pixel and averaged down: antialiasing for free.
constexpr int SAMPLES = 4;
constexpr int CANVAS = LOGO_SIZE * SAMPLES;

// The plate's extent in pixels of the upright picture (right and bottom exclusive).
constexpr double PLATE_LEFT = 14.0;
constexpr double PLATE_RIGHT = 247.0;
constexpr double PLATE_TOP = 39.0;
constexpr double PLATE_BOTTOM = 212.0;

// The first ten and the last ten entries of the Windows default palette, which
// stay put whatever the picture needs.
constexpr PaletteColor SYSTEM_LOW[10] = {{0, 0, 0},       {128, 0, 0},    {0, 128, 0},   {128, 128, 0},
                                         {0, 0, 128},     {128, 0, 128},  {0, 128, 128}, {192, 192, 192},
                                         {192, 220, 192}, {166, 202, 240}};
constexpr PaletteColor SYSTEM_HIGH[10] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
                                          {0, 255, 0},     {255, 255, 0},   {0, 0, 255},     {255, 0, 255},
                                          {0, 255, 255},   {255, 255, 255}};
constexpr int FIRST_FREE_ENTRY = 10;
constexpr int LAST_FREE_ENTRY = 245;

struct Vector3 {
    double x;
    double y;
    double z;
};

Vector3 normalised(Vector3 v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return Vector3{v.x / length, v.y / length, v.z / length};
}

double dot(Vector3 a, Vector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double power(double base, int exponent) {
    double result = 1.0;
    for (int i = 0; i < exponent; ++i)
        result *= base;
    return result;
}

// Light from the upper left, as on most desktop art.
const Vector3 LIGHT = normalised(Vector3{-0.45, -0.6, 0.66});
const Vector3 HALFWAY = normalised(Vector3{LIGHT.x, LIGHT.y, LIGHT.z + 1.0});

struct Notch {
    double directionX;
    double directionY;
    double reach; // cosine of the half angle it spans
    double depth;
};

struct Hole {
    double x;
    double y;
    double radius;
};

struct Dent {
    double x;
    double y;
    double radius;
    double depth;
};

const Hole HOLES[] = {{44, 150, 8.0},  {216, 150, 6.0}, {98, 60, 4.5},   {232, 118, 3.5},
                      {132, 196, 3.0}, {82, 190, 4.0},  {178, 186, 5.0}, {30, 118, 3.0}};
const Dent DENTS[] = {{70, 150, 12, 2.2}, {204, 132, 10, 1.8}, {110, 188, 9, 1.8}, {166, 56, 11, 2.0},
                      {78, 54, 7, 1.4},   {158, 188, 7, 1.5},  {236, 150, 6, 1.2}, {24, 96, 7, 1.4}};

// The plate outline in its own frame, where the unworn shape spans about -1..1:
// an oval drawn in at the corners and torn at the rim.
bool insidePlateShape(double u, double v, const std::vector<Notch> &notches) {
    const double u2 = u * u;
    const double v2 = v * v;
    const double round = std::sqrt(u2 + v2);
    const double diamond = std::fabs(u) + std::fabs(v);
    const double reach = 0.86 * round + 0.14 * diamond;
    if (round < 0.5) return true;
    const double dx = u / round;
    const double dy = v / round;
    double wear = 0.012 + 0.16 * fractalNoise(dx * 2.4 + 11.0, dy * 2.4 + 7.0, 3, 101u) +
                  0.06 * fractalNoise(dx * 14.0 + 3.0, dy * 14.0 + 5.0, 2, 202u) +
                  0.012 * valueNoise(dx * 70.0, dy * 70.0, 303u) +
                  0.008 * valueNoise(u * 60.0, v * 60.0, 404u);
    for (const Notch &notch : notches) {
        const double facing = dx * notch.directionX + dy * notch.directionY;
        if (facing > notch.reach) wear += notch.depth * smoothStep(notch.reach, 1.0, facing);
    }
    return reach <= 1.0 - wear;
}

std::vector<Notch> tornNotches() {
    ArtRandom random{0x0104C0DEull};
    std::vector<Notch> notches;
    for (int i = 0; i < 10; ++i) {
        const double angle = randomRange(random, 0.0, 2.0 * ART_PI);
        const double span = randomRange(random, 0.06, 0.2);
        notches.push_back(Notch{artCos(angle), artSin(angle), artCos(span), randomRange(random, 0.06, 0.16)});
    }
    return notches;
}

// Samples of the plate (holes not yet cut), placed so that its bounding box
// lands exactly on the plate's extent.
Grid plateMask() {
    const std::vector<Notch> notches = tornNotches();
    // First pass: where the shape reaches in its own frame.
    const double step = 2.4 / CANVAS;
    double lowU = 9, highU = -9, lowV = 9, highV = -9;
    for (int j = 0; j < CANVAS; ++j) {
        for (int i = 0; i < CANVAS; ++i) {
            const double u = -1.2 + (i + 0.5) * step;
            const double v = -1.2 + (j + 0.5) * step;
            if (!insidePlateShape(u, v, notches)) continue;
            lowU = std::min(lowU, u);
            highU = std::max(highU, u);
            lowV = std::min(lowV, v);
            highV = std::max(highV, v);
        }
    }
    Grid mask = makeGrid(CANVAS, CANVAS, 0.0);
    const double half = 0.5 / SAMPLES;
    for (int j = 0; j < CANVAS; ++j) {
        const double y = (j + 0.5) / SAMPLES;
        const double v =
            lowV + (y - PLATE_TOP - half) / (PLATE_BOTTOM - PLATE_TOP - 2 * half) * (highV - lowV);
        for (int i = 0; i < CANVAS; ++i) {
            const double x = (i + 0.5) / SAMPLES;
            const double u =
                lowU + (x - PLATE_LEFT - half) / (PLATE_RIGHT - PLATE_LEFT - 2 * half) * (highU - lowU);
            if (insidePlateShape(u, v, notches)) gridCell(mask, i, j) = 1.0;
        }
    }
    return mask;
}

void cutHoles(Grid &mask) {
    for (int j = 0; j < CANVAS; ++j) {
        for (int i = 0; i < CANVAS; ++i) {
            const double x = (i + 0.5) / SAMPLES;
            const double y = (j + 0.5) / SAMPLES;
            for (const Hole &hole : HOLES)
                if ((x - hole.x) * (x - hole.x) + (y - hole.y) * (y - hole.y) < hole.radius * hole.radius)
                    gridCell(mask, i, j) = 0.0;
        }
    }
}

// Height of the metal in pixels: a rounded bevel along every cut edge, dents
// and a faint hammered ripple.
Grid plateHeight(const Grid &mask) {
    Grid outside = makeGrid(CANVAS, CANVAS, 0.0);
    for (size_t i = 0; i < mask.values.size(); ++i)
        outside.values[i] = 1.0 - mask.values[i];
    const Grid edgeDistance = distanceToSet(outside);
    constexpr double BEVEL = 3.0;
    Grid height = makeGrid(CANVAS, CANVAS, 0.0);
    for (int j = 0; j < CANVAS; ++j) {
        for (int i = 0; i < CANVAS; ++i) {
            const double x = (i + 0.5) / SAMPLES;
            const double y = (j + 0.5) / SAMPLES;
            const double t = std::min(gridAt(edgeDistance, i, j) / SAMPLES / BEVEL, 1.0);
            double h = 0.8 * BEVEL * (1.0 - (1.0 - t) * (1.0 - t));
            for (const Dent &dent : DENTS) {
                const double d2 =
                    ((x - dent.x) * (x - dent.x) + (y - dent.y) * (y - dent.y)) / (dent.radius * dent.radius);
                if (d2 < 1.0) h -= dent.depth * (1.0 - d2) * (1.0 - d2);
            }
            h += 0.35 * fractalNoise(x / 6.0, y / 6.0, 3, 505u);
            gridCell(height, i, j) = h;
        }
    }
    return height;
}

Vector3 surfaceNormal(const Grid &height, int i, int j, double steepness) {
    const double gx = (gridAt(height, i + 1, j) - gridAt(height, i - 1, j)) * SAMPLES / 2.0;
    const double gy = (gridAt(height, i, j + 1) - gridAt(height, i, j - 1)) * SAMPLES / 2.0;
    return normalised(Vector3{-gx * steepness, -gy * steepness, 1.0});
}

struct Color {
    double red;
    double green;
    double blue;
};

Color mixColor(Color a, Color b, double t) {
    return Color{mix(a.red, b.red, t), mix(a.green, b.green, t), mix(a.blue, b.blue, t)};
}

Color scaled(Color c, double k) {
    return Color{c.red * k, c.green * k, c.blue * k};
}

Color metalAt(const Grid &height, int i, int j) {
    const double x = (i + 0.5) / SAMPLES;
    const double y = (j + 0.5) / SAMPLES;
    // Brushed along the rows, with a broad sheen across the plate.
    const double brushed = 0.07 * (valueNoise(x / 45.0, y * 1.3, 606u) - 0.5) +
                           0.03 * (valueNoise(x / 9.0, y * 3.0, 707u) - 0.5);
    const double sheen = 0.10 * artSin((x + 0.6 * y) / 38.0);
    const double albedo = 0.58 + brushed + sheen;
    const Vector3 normal = surfaceNormal(height, i, j, 1.0);
    const double diffuse = std::max(0.0, dot(normal, LIGHT)) / LIGHT.z;
    const double specular = power(std::max(0.0, dot(normal, HALFWAY)), 48);
    const double light = albedo * (0.32 + 0.68 * diffuse);
    const double shine = 0.55 * specular;
    return Color{255.0 * (0.97 * light + shine), 255.0 * (0.99 * light + shine),
                 255.0 * (1.05 * light + shine)};
}

struct Lettering {
    Grid fill;
    Grid outline;
    Grid height; // for the letters' own relief
    int top;
    int bottom;
};

// Outline and relief for lettering: outlineWidth and bevel in pixels.
Lettering dressLettering(const Grid &fill, int top, int bottom, double outlineWidth, double bevel) {
    Lettering lettering{fill, makeGrid(CANVAS, CANVAS, 0.0), makeGrid(CANVAS, CANVAS, 0.0), top, bottom};
    const Grid toInk = distanceToSet(fill);
    Grid blank = makeGrid(CANVAS, CANVAS, 0.0);
    for (size_t i = 0; i < fill.values.size(); ++i)
        blank.values[i] = 1.0 - fill.values[i];
    const Grid toBlank = distanceToSet(blank);
    for (size_t i = 0; i < fill.values.size(); ++i) {
        const double edge = clampUnit(outlineWidth * SAMPLES + 0.5 - toInk.values[i]);
        lettering.outline.values[i] = std::max(edge, fill.values[i]);
        const double t = std::min(toBlank.values[i] / SAMPLES / bevel, 1.0);
        lettering.height.values[i] = bevel * (1.0 - (1.0 - t) * (1.0 - t));
    }
    return lettering;
}

bool placeLine(const std::string &font, const std::string &text, int pixelSize, double spacing,
               double centreX, double baselineY, Grid &canvas, int &top, int &bottom) {
    TextBlock block;
    if (!setText(font, text, pixelSize * SAMPLES, spacing * SAMPLES, block)) return false;
    const int left = static_cast<int>(std::lround(centreX * SAMPLES - block.coverage.width / 2.0));
    top = static_cast<int>(std::lround(baselineY * SAMPLES)) - block.baseline;
    bottom = top + block.coverage.height;
    stampText(canvas, block, left, top);
    return true;
}

Color titleGradient(double t) {
    const Color stops[] = {{255, 246, 130}, {255, 206, 40}, {250, 130, 18}, {214, 38, 20}, {170, 16, 16}};
    const double scaledT = clampUnit(t) * 4.0;
    const int k = std::min(static_cast<int>(scaledT), 3);
    return mixColor(stops[k], stops[k + 1], scaledT - k);
}

double letterShade(const Lettering &lettering, int i, int j, double &shine) {
    const Vector3 normal = surfaceNormal(lettering.height, i, j, 1.0);
    shine = 0.45 * power(std::max(0.0, dot(normal, HALFWAY)), 24);
    return 0.6 + 0.4 * std::max(0.0, dot(normal, LIGHT)) / LIGHT.z;
}

// A highlight adds the same amount of white to every channel.
Color withShine(Color lit, double shine) {
    return Color{lit.red + 255 * shine, lit.green + 255 * shine, lit.blue + 255 * shine};
}

uint32_t packColor(Color c) {
    const auto channel = [](double v) {
        return static_cast<uint32_t>(std::lround(std::min(255.0, std::max(0.0, v))));
    };
    return channel(c.red) << 16 | channel(c.green) << 8 | channel(c.blue);
}

} // namespace

bool makeLogo(const std::string &fontFolder, Bitmap8 &logo) {
    const std::string titleFont = fontFolder + "/DejaVuSans-BoldOblique.ttf";
    const std::string authorFont = fontFolder + "/DejaVuSans-Bold.ttf";
    constexpr double CENTRE_X = (PLATE_LEFT + PLATE_RIGHT) / 2.0;

    Grid titleInk = makeGrid(CANVAS, CANVAS, 0.0);
    Grid authorInk = makeGrid(CANVAS, CANVAS, 0.0);
    int titleTop, titleBottom, authorTop, firstLineBottom, secondLineTop, authorBottom;
    if (!placeLine(titleFont, "COMET", 44, 1.5, CENTRE_X - 2.0, 112.0, titleInk, titleTop, titleBottom) ||
        !placeLine(authorFont, "a screen saver by", 13, 0.4, CENTRE_X, 140.0, authorInk, authorTop,
                   firstLineBottom) ||
        !placeLine(titleFont, "Quorlith", 19, 0.6, CENTRE_X, 163.0, authorInk, secondLineTop, authorBottom))
        return false;
    const Lettering title = dressLettering(titleInk, titleTop, titleBottom, 2.2, 1.6);
    const Lettering author = dressLettering(authorInk, authorTop, authorBottom, 1.0, 0.8);

    Grid shadow = makeGrid(CANVAS, CANVAS, 0.0);
    for (size_t i = 0; i < shadow.values.size(); ++i)
        shadow.values[i] = std::max(title.outline.values[i], 0.7 * author.outline.values[i]);
    shadow = softBlur(shifted(shadow, 3 * SAMPLES / 2 + 1, 2 * SAMPLES), SAMPLES);

    Grid mask = plateMask();
    cutHoles(mask);
    const Grid height = plateHeight(mask);

    const Color titleOutline{40, 16, 10};
    const Color authorOutline{22, 14, 58};
    std::vector<Color> picture(static_cast<size_t>(LOGO_SIZE) * LOGO_SIZE, Color{0, 0, 0});
    std::vector<int> plateSamples(picture.size(), 0);
    for (int j = 0; j < CANVAS; ++j) {
        for (int i = 0; i < CANVAS; ++i) {
            if (gridAt(mask, i, j) < 0.5) continue;
            Color color = scaled(metalAt(height, i, j), 1.0 - 0.6 * gridAt(shadow, i, j));
            double shine;
            const double titleT = (j - title.top) / static_cast<double>(title.bottom - title.top);
            color = mixColor(color, titleOutline, gridAt(title.outline, i, j));
            const double titleFill = gridAt(title.fill, i, j);
            if (titleFill > 0.0) {
                const Color lit = scaled(titleGradient(titleT), letterShade(title, i, j, shine));
                color = mixColor(color, withShine(lit, shine), titleFill);
            }
            color = mixColor(color, authorOutline, gridAt(author.outline, i, j));
            const double authorFill = gridAt(author.fill, i, j);
            if (authorFill > 0.0) {
                const double authorT = (j - author.top) / static_cast<double>(author.bottom - author.top);
                const Color violet = mixColor(Color{168, 150, 255}, Color{112, 84, 236}, authorT);
                const Color lit = scaled(violet, letterShade(author, i, j, shine));
                color = mixColor(color, withShine(lit, shine), authorFill);
            }
            const size_t pixel = static_cast<size_t>(j / SAMPLES) * LOGO_SIZE + i / SAMPLES;
            picture[pixel].red += color.red;
            picture[pixel].green += color.green;
            picture[pixel].blue += color.blue;
            ++plateSamples[pixel];
        }
    }

    std::vector<uint32_t> packed(picture.size());
    std::vector<uint32_t> metal;
    for (size_t p = 0; p < picture.size(); ++p) {
        packed[p] = packColor(scaled(picture[p], 1.0 / (SAMPLES * SAMPLES)));
        if (plateSamples[p] > 0) metal.push_back(packed[p]);
    }
    const std::vector<PaletteColor> colors = fitPalette(metal, LAST_FREE_ENTRY - FIRST_FREE_ENTRY + 1);

    logo = makeBitmap8(LOGO_SIZE, LOGO_SIZE);
    std::copy(std::begin(SYSTEM_LOW), std::end(SYSTEM_LOW), logo.palette);
    std::copy(colors.begin(), colors.end(), logo.palette + FIRST_FREE_ENTRY);
    std::copy(std::begin(SYSTEM_HIGH), std::end(SYSTEM_HIGH), logo.palette + LAST_FREE_ENTRY + 1);
    for (size_t p = 0; p < picture.size(); ++p) {
        // The background stays entry 0, pure black, so the intro's fade leaves it black.
        logo.pixels[p] = plateSamples[p] == 0
                             ? 0
                             : static_cast<uint8_t>(
                                   nearestEntry(logo.palette, FIRST_FREE_ENTRY, LAST_FREE_ENTRY, packed[p]));
    }
    return true;
}
