#include "transitions/regions/polygon_region.h"

#include "transitions/regions/scan_convert.h"

#include <algorithm>
#include <cmath>

namespace kalmo::transitions::regions {

namespace {

// Round half to even (the default floating-point rounding mode), kept inside int range.
int roundEven(double v) {
    return int(std::nearbyint(std::clamp(v, -1.0e9, 1.0e9)));
}

} // namespace

SpanRegion CreatePolygonRegion(std::span<const QPoint> points, int w, int h) {
    SpanBuilder builder(w, h);
    addPolygon(builder, points);
    return builder.build();
}

void RotatePoints(std::span<QPoint> points, int cx, int cy, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (QPoint &p : points) {
        const double dx = p.x() - cx;
        const double dy = p.y() - cy;
        p = QPoint(cx + roundEven(dx * c - dy * s), cy + roundEven(dx * s + dy * c));
    }
}

SpanRegion CreateFanRegion(int cx, int cy, int r, int count, double end, double start, int w,
                           int h) {
    if (count <= 0)
        return SpanRegion(w, h);
    std::vector<QPoint> points;
    points.reserve(std::size_t(count) + 1);
    points.emplace_back(cx, cy);
    const double step = (end - start) / count;
    for (int i = 0; i < count; ++i) {
        const double phi = start + i * step;
        points.emplace_back(cx + roundEven(r * std::cos(phi)), cy + roundEven(r * std::sin(phi)));
    }
    return CreatePolygonRegion(points, w, h);
}

} // namespace kalmo::transitions::regions
