// Sweeps and turning shapes about the centre.
#include "transitions/regions/families.h"
#include "transitions/regions/polygon_region.h"

#include <QPoint>
#include <cmath>
#include <numbers>

namespace kalmo::transitions::regions {

namespace {

constexpr double pi = std::numbers::pi;

// Smallest integer not below sqrt(v).
int ceilSqrt(std::int64_t v) {
    auto r = std::int64_t(std::sqrt(double(v)));
    while (r * r < v)
        ++r;
    while (r > 0 && (r - 1) * (r - 1) >= v)
        --r;
    return int(r);
}

SpanRegion sweep(const RegionContext &c) {
    const int cx = c.w / 2;
    const int cy = c.h / 2;
    const int r = ceilSqrt(std::int64_t(cx) * cx + std::int64_t(cy) * cy);
    const double turn = c.p * pi / 50;
    const double end = c.style == 144 ? turn - pi / 2 : -turn - pi / 2;
    return CreateFanRegion(cx, cy, r, c.p, end, -pi / 2, c.w, c.h);
}

SpanRegion rotating(const RegionContext &c) {
    const int a = c.w / 2;
    const int e = c.h / 2;
    const int h = c.x / 2;
    const int v = c.y / 2;
    // The turning direction is fixed for one transition and varies between transitions.
    const double angle = (c.transitionSeed & 1 ? -1.0 : 1.0) * c.p * pi / 50;
    std::vector<QPoint> points;
    if (c.style == 151) {
        points = {{a - 2 * c.x, e}, {a - h, e - v}, {a, e - 2 * c.y}, {a + h, e - v},
                  {a + 2 * c.x, e}, {a + h, e + v}, {a, e + 2 * c.y}, {a - h, e + v}};
    } else {
        points = {{a - h, e - v}, {a + h, e - v}, {a + h, e + v}, {a - h, e + v}};
    }
    if (c.style == 152)
        RotatePoints(points, c.x, c.y, angle);
    else
        RotatePoints(points, a, e, angle);
    return CreatePolygonRegion(points, c.w, c.h);
}

} // namespace

RegionBuilder fanStyle(int style) {
    if (style == 144 || style == 145)
        return &sweep;
    if (style >= 150 && style <= 152)
        return &rotating;
    return nullptr;
}

} // namespace kalmo::transitions::regions
