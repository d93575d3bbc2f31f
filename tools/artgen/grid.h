// A rectangle of real values: the generator's working canvas.
#pragma once

#include <vector>

struct Grid {
    int width;
    int height;
    std::vector<double> values;
};

Grid makeGrid(int width, int height, double fill);
double gridAt(const Grid &grid, int x, int y); // 0 outside the grid
double &gridCell(Grid &grid, int x, int y);

// Euclidean distance, in cells, from every cell to the nearest cell whose value
// is at least one half (0 on such cells).
Grid distanceToSet(const Grid &grid);
// Box blur of the given radius applied twice: a cheap soft blur.
Grid softBlur(const Grid &grid, int radius);
// The grid moved by whole cells; what comes in from outside is 0.
Grid shifted(const Grid &grid, int dx, int dy);
