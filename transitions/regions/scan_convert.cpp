#include "transitions/regions/scan_convert.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace kalmo::transitions::regions {

namespace {

// First pixel whose centre is at or right of the boundary `x`, kept inside int range.
int pixelFrom(double x) {
    const double v = std::ceil(x - 0.5);
    return int(std::clamp(v, -1.0e9, 1.0e9));
}

struct Crossing {
    double x;
    int dir;
};

struct Edge {
    int top;     // first row whose centre the edge crosses
    int bottom;  // row past the last one
    double x;    // crossing at the centre of row `top`
    double step; // change of the crossing per row
    int dir;
};

} // namespace

void addPolygon(SpanBuilder &builder, std::span<const QPoint> points) {
    const std::size_t n = points.size();
    if (n < 3)
        return;
    // Each non-horizontal edge covers the rows whose centre y + 0.5 lies in [low, high),
    // so a vertex shared by two edges is counted once.
    std::vector<Edge> edges;
    edges.reserve(n);
    int first = builder.height();
    int last = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const QPoint &a = points[i];
        const QPoint &b = points[(i + 1) % n];
        if (a.y() == b.y())
            continue;
        const bool down = a.y() < b.y();
        const QPoint &lo = down ? a : b;
        const QPoint &hi = down ? b : a;
        const int top = std::max(lo.y(), 0);
        const int bottom = std::min(hi.y(), builder.height());
        if (top >= bottom)
            continue;
        const double step = double(hi.x() - lo.x()) / double(hi.y() - lo.y());
        edges.push_back({top, bottom, lo.x() + (top + 0.5 - lo.y()) * step, step, down ? 1 : -1});
        first = std::min(first, top);
        last = std::max(last, bottom);
    }
    std::vector<Crossing> crossings;
    crossings.reserve(edges.size());
    for (int y = first; y < last; ++y) {
        crossings.clear();
        for (const Edge &e : edges) {
            if (y < e.top || y >= e.bottom)
                continue;
            const Crossing c{e.x + (y - e.top) * e.step, e.dir};
            // Insertion sort: a row crosses only a handful of edges.
            auto at = crossings.end();
            while (at != crossings.begin() && (at - 1)->x > c.x)
                --at;
            crossings.insert(at, c);
        }
        int winding = 0;
        double start = 0;
        for (const Crossing &c : crossings) {
            const int before = winding;
            winding += c.dir;
            if (before == 0 && winding != 0)
                start = c.x;
            else if (before != 0 && winding == 0)
                builder.addSpan(y, pixelFrom(start), pixelFrom(c.x));
        }
    }
}

void addRoundRect(SpanBuilder &builder, int left, int top, int right, int bottom, int cornerWidth,
                  int cornerHeight) {
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (right == left || bottom == top)
        return;
    const double rx = std::min(std::abs(double(cornerWidth)), double(right) - left) / 2;
    const double ry = std::min(std::abs(double(cornerHeight)), double(bottom) - top) / 2;
    if (rx <= 0 || ry <= 0) {
        builder.addRect(left, top, right, bottom);
        return;
    }
    const double leftCentre = left + rx;
    const double rightCentre = right - rx;
    const double topCentre = top + ry;
    const double bottomCentre = bottom - ry;
    const int first = std::max(0, top);
    const int last = std::min(builder.height(), bottom);
    for (int y = first; y < last; ++y) {
        const double yc = y + 0.5;
        double dy = 0;
        if (yc < topCentre)
            dy = topCentre - yc;
        else if (yc > bottomCentre)
            dy = yc - bottomCentre;
        const double q = dy / ry;
        if (q >= 1)
            continue;
        const double dx = rx * std::sqrt(1 - q * q);
        builder.addSpan(y, pixelFrom(leftCentre - dx), pixelFrom(rightCentre + dx));
    }
}

void addEllipse(SpanBuilder &builder, int left, int top, int right, int bottom) {
    addRoundRect(builder, left, top, right, bottom, right - left, bottom - top);
}

} // namespace kalmo::transitions::regions
