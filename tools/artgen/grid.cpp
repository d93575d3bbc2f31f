#include "tools/artgen/grid.h"

#include <cmath>

Grid makeGrid(int width, int height, double fill) {
    return Grid{width, height, std::vector<double>(static_cast<size_t>(width) * height, fill)};
}

double gridAt(const Grid &grid, int x, int y) {
    if (x < 0 || y < 0 || x >= grid.width || y >= grid.height) return 0.0;
    return grid.values[static_cast<size_t>(y) * grid.width + x];
}

double &gridCell(Grid &grid, int x, int y) {
    return grid.values[static_cast<size_t>(y) * grid.width + x];
}

// One line of the exact squared distance transform (lower envelope of parabolas).
static void distanceLine(const std::vector<double> &in, std::vector<double> &out, std::vector<int> &apex,
                         std::vector<double> &bound) {
    const int count = static_cast<int>(in.size());
    const double far = 1e20;
    int k = 0;
    apex[0] = 0;
    bound[0] = -far;
    bound[1] = far;
    for (int q = 1; q < count; ++q) {
        double s = ((in[q] + q * q) - (in[apex[k]] + apex[k] * apex[k])) / (2.0 * q - 2.0 * apex[k]);
        while (s <= bound[k]) {
            --k;
            s = ((in[q] + q * q) - (in[apex[k]] + apex[k] * apex[k])) / (2.0 * q - 2.0 * apex[k]);
        }
        ++k;
        apex[k] = q;
        bound[k] = s;
        bound[k + 1] = far;
    }
    k = 0;
    for (int q = 0; q < count; ++q) {
        while (bound[k + 1] < q)
            ++k;
        const double d = q - apex[k];
        out[q] = d * d + in[apex[k]];
    }
}

Grid distanceToSet(const Grid &grid) {
    const double far = 1e12;
    Grid squared = makeGrid(grid.width, grid.height, 0.0);
    for (size_t i = 0; i < grid.values.size(); ++i)
        squared.values[i] = grid.values[i] >= 0.5 ? 0.0 : far;
    const int longest = grid.width > grid.height ? grid.width : grid.height;
    std::vector<double> in(longest), out(longest), bound(longest + 1);
    std::vector<int> apex(longest);
    for (int x = 0; x < grid.width; ++x) {
        in.resize(grid.height);
        out.resize(grid.height);
        for (int y = 0; y < grid.height; ++y)
            in[y] = gridCell(squared, x, y);
        distanceLine(in, out, apex, bound);
        for (int y = 0; y < grid.height; ++y)
            gridCell(squared, x, y) = out[y];
    }
    for (int y = 0; y < grid.height; ++y) {
        in.resize(grid.width);
        out.resize(grid.width);
        for (int x = 0; x < grid.width; ++x)
            in[x] = gridCell(squared, x, y);
        distanceLine(in, out, apex, bound);
        for (int x = 0; x < grid.width; ++x)
            gridCell(squared, x, y) = std::sqrt(out[x]);
    }
    return squared;
}

static Grid boxBlur(const Grid &grid, int radius, bool horizontal) {
    Grid out = makeGrid(grid.width, grid.height, 0.0);
    const double scale = 1.0 / (2 * radius + 1);
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            double sum = 0.0;
            for (int k = -radius; k <= radius; ++k)
                sum += horizontal ? gridAt(grid, x + k, y) : gridAt(grid, x, y + k);
            gridCell(out, x, y) = sum * scale;
        }
    }
    return out;
}

Grid softBlur(const Grid &grid, int radius) {
    Grid out = grid;
    for (int pass = 0; pass < 2; ++pass)
        out = boxBlur(boxBlur(out, radius, true), radius, false);
    return out;
}

Grid shifted(const Grid &grid, int dx, int dy) {
    Grid out = makeGrid(grid.width, grid.height, 0.0);
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width; ++x)
            gridCell(out, x, y) = gridAt(grid, x - dx, y - dy);
    return out;
}
