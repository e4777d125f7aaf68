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

} // namespace

void addPolygon(SpanBuilder &builder, std::span<const QPoint> points) {
    const std::size_t n = points.size();
    if (n < 3)
        return;
    int yMin = points[0].y();
    int yMax = yMin;
    for (const QPoint &p : points) {
        yMin = std::min(yMin, p.y());
        yMax = std::max(yMax, p.y());
    }
    // Rows whose centre y + 0.5 lies in [yMin, yMax).
    const int first = std::max(0, yMin);
    const int last = std::min(builder.height(), yMax);
    std::vector<Crossing> crossings;
    crossings.reserve(n);
    for (int y = first; y < last; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const QPoint &a = points[i];
            const QPoint &b = points[(i + 1) % n];
            if (a.y() == b.y())
                continue;
            const bool down = a.y() < b.y();
            const int lo = down ? a.y() : b.y();
            const int hi = down ? b.y() : a.y();
            if (yc < lo || yc >= hi)
                continue;
            const double t = (yc - a.y()) / double(b.y() - a.y());
            crossings.push_back({a.x() + t * double(b.x() - a.x()), down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing &l, const Crossing &r) { return l.x < r.x; });
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
