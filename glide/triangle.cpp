// Triangle setup and scan conversion. Vertices snap to 1/16 pixel; edges are
// walked exactly in integers, so a pixel centre on a shared edge belongs to
// one triangle only (top and left edges drawn, bottom and right not).
#include "glide/device.h"
#include "glide/fog.h"
#include "glide/raster.h"

#include <cmath>
#include <cstdint>

namespace {

const int SUBPIXELS = 16;
// Beyond this the device ignores a triangle rather than risk overflow.
const double COORDINATE_LIMIT = 16384.0;

struct SnappedVertex {
    std::int64_t x, y; // 1/16 pixel
    const GrVertex *v;
};

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

bool snap(const GrVertex *v, SnappedVertex &out) {
    if (!(std::fabs(v->x) <= COORDINATE_LIMIT) || !(std::fabs(v->y) <= COORDINATE_LIMIT)) return false;
    out.x = roundHalfAway(static_cast<double>(v->x) * SUBPIXELS);
    out.y = roundHalfAway(static_cast<double>(v->y) * SUBPIXELS);
    out.v = v;
    return true;
}

// The first pixel whose centre lies at or right of the edge on a row, kept as
// q = ceil(N / D) with N growing by a constant per row.
struct EdgeWalk {
    std::int64_t q, rem, den, stepQ, stepR;
};

EdgeWalk startEdge(const SnappedVertex &a, const SnappedVertex &b, int row) {
    std::int64_t dx = b.x - a.x;
    std::int64_t dy = b.y - a.y;
    std::int64_t centreY = static_cast<std::int64_t>(row) * SUBPIXELS + SUBPIXELS / 2;
    EdgeWalk e;
    e.den = SUBPIXELS * dy;
    std::int64_t n = (a.x - SUBPIXELS / 2) * dy + (centreY - a.y) * dx + e.den - 1;
    e.q = floorDiv(n, e.den);
    e.rem = n - e.q * e.den;
    std::int64_t step = SUBPIXELS * dx;
    e.stepQ = floorDiv(step, e.den);
    e.stepR = step - e.stepQ * e.den;
    return e;
}

inline void stepEdge(EdgeWalk &e) {
    e.q += e.stepQ;
    e.rem += e.stepR;
    if (e.rem >= e.den) {
        e.rem -= e.den;
        ++e.q;
    }
}

// First row whose pixel centre is at or below y (1/16 pixel).
int rowAtOrBelow(std::int64_t y) {
    return static_cast<int>(floorDiv(y - SUBPIXELS / 2 + SUBPIXELS - 1, SUBPIXELS));
}

float clampColour(float c) {
    if (!(c > 0.0f)) return 0.0f;
    return c > 255.0f ? 255.0f : c;
}

struct PlaneBuilder {
    double x0, y0, e1x, e1y, e2x, e2y, det;

    Plane build(double a0, double a1, double a2) const {
        double d1 = a1 - a0;
        double d2 = a2 - a0;
        Plane p;
        p.dx = (d1 * e2y - d2 * e1y) / det;
        p.dy = (d2 * e1x - d1 * e2x) / det;
        p.at0 = a0 + (0.5 - x0) * p.dx + (0.5 - y0) * p.dy;
        return p;
    }
};

void sortByY(SnappedVertex v[3]) {
    auto swap = [](SnappedVertex &a, SnappedVertex &b) {
        SnappedVertex t = a;
        a = b;
        b = t;
    };
    if (v[1].y < v[0].y) swap(v[0], v[1]);
    if (v[2].y < v[1].y) swap(v[1], v[2]);
    if (v[1].y < v[0].y) swap(v[0], v[1]);
}

void setUpAttributes(const SnappedVertex v[3], TriangleSetup &t) {
    PlaneBuilder pb;
    pb.x0 = v[0].x / double(SUBPIXELS);
    pb.y0 = v[0].y / double(SUBPIXELS);
    pb.e1x = (v[1].x - v[0].x) / double(SUBPIXELS);
    pb.e1y = (v[1].y - v[0].y) / double(SUBPIXELS);
    pb.e2x = (v[2].x - v[0].x) / double(SUBPIXELS);
    pb.e2y = (v[2].y - v[0].y) / double(SUBPIXELS);
    pb.det = pb.e1x * pb.e2y - pb.e2x * pb.e1y;

    const GrVertex *a = v[0].v, *b = v[1].v, *c = v[2].v;
    t.r = pb.build(clampColour(a->r), clampColour(b->r), clampColour(c->r));
    t.g = pb.build(clampColour(a->g), clampColour(b->g), clampColour(c->g));
    t.b = pb.build(clampColour(a->b), clampColour(b->b), clampColour(c->b));
    t.a = pb.build(clampColour(a->a), clampColour(b->a), clampColour(c->a));

    float oow = a->oow;
    t.perspective = !(b->oow == oow && c->oow == oow);
    t.fog = t.perspective ? 0 : fogFactor(oow);
    t.u = t.v = t.oow = Plane{0.0, 0.0, 0.0};
    t.texels = currentTexels();
    t.firstOpaque = currentFirstOpaque();
    t.lastOpaque = currentLastOpaque();
    t.texShift = 0;
    if (!t.texels) return;
    int size = glideDevice.texture.size;
    while ((1 << t.texShift) < size)
        ++t.texShift;
    double scale = size / 256.0;
    const GrTmuVertex &ta = a->tmuvtx[0], &tb = b->tmuvtx[0], &tc = c->tmuvtx[0];
    if (t.perspective) {
        t.u = pb.build(ta.sow * scale, tb.sow * scale, tc.sow * scale);
        t.v = pb.build(ta.tow * scale, tb.tow * scale, tc.tow * scale);
        t.oow = pb.build(a->oow, b->oow, c->oow);
    } else {
        double w = 1.0 / oow;
        t.u = pb.build(ta.sow * w * scale, tb.sow * w * scale, tc.sow * w * scale);
        t.v = pb.build(ta.tow * w * scale, tb.tow * w * scale, tc.tow * w * scale);
    }
}

void walkPart(const TriangleSetup &t, EdgeWalk &left, EdgeWalk &right, int rowFrom, int rowTo) {
    const GlideDevice &d = glideDevice;
    for (int y = rowFrom; y < rowTo; ++y) {
        std::int64_t x0 = left.q < d.clipMinX ? d.clipMinX : left.q;
        std::int64_t x1 = right.q > d.clipMaxX ? d.clipMaxX : right.q;
        if (x0 < x1) t.span(t, y, static_cast<int>(x0), static_cast<int>(x1));
        stepEdge(left);
        stepEdge(right);
    }
}

} // namespace

void FX_CALL grDrawTriangle(const GrVertex *a, const GrVertex *b, const GrVertex *c) {
    GlideDevice &d = glideDevice;
    if (!d.open || !a || !b || !c) return;
    SnappedVertex v[3];
    if (!snap(a, v[0]) || !snap(b, v[1]) || !snap(c, v[2])) return;
    sortByY(v);
    std::int64_t cross = (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[2].x - v[0].x) * (v[1].y - v[0].y);
    if (cross == 0) return;

    int top = rowAtOrBelow(v[0].y);
    int mid = rowAtOrBelow(v[1].y);
    int bottom = rowAtOrBelow(v[2].y);
    int firstRow = top > d.clipMinY ? top : d.clipMinY;
    int endRow = bottom < d.clipMaxY ? bottom : d.clipMaxY;
    if (firstRow >= endRow || d.clipMinX >= d.clipMaxX) return;

    noteRenderBufferWrite();
    TriangleSetup t;
    t.target = renderTarget();
    setUpAttributes(v, t);
    std::int64_t minX = v[0].x < v[1].x ? v[0].x : v[1].x, maxX = v[0].x > v[1].x ? v[0].x : v[1].x;
    if (v[2].x < minX) minX = v[2].x;
    if (v[2].x > maxX) maxX = v[2].x;
    // A pixel whose centre lies inside the triangle is within a column of
    // its corners; one more each side is enough.
    std::int64_t from = floorDiv(minX, SUBPIXELS) - 1, to = floorDiv(maxX, SUBPIXELS) + 2;
    t.columnsFrom = static_cast<int>(from < d.clipMinX ? d.clipMinX : from);
    t.columnsTo = static_cast<int>(to > d.clipMaxX ? d.clipMaxX : to);
    chooseSpanLoop(t);

    // The long edge runs from the top vertex to the bottom one; the middle
    // vertex lies right of it when the cross product is positive.
    bool longOnLeft = cross > 0;
    EdgeWalk longEdge = startEdge(v[0], v[2], firstRow);
    int upperEnd = mid < endRow ? mid : endRow;
    if (firstRow < upperEnd) {
        EdgeWalk upper = startEdge(v[0], v[1], firstRow);
        if (longOnLeft)
            walkPart(t, longEdge, upper, firstRow, upperEnd);
        else
            walkPart(t, upper, longEdge, firstRow, upperEnd);
    }
    // After the upper part the long edge already stands on the row of mid.
    int lowerStart = mid > firstRow ? mid : firstRow;
    if (lowerStart < endRow) {
        EdgeWalk lower = startEdge(v[1], v[2], lowerStart);
        if (longOnLeft)
            walkPart(t, longEdge, lower, lowerStart, endRow);
        else
            walkPart(t, lower, longEdge, lowerStart, endRow);
    }
}
