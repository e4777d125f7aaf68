// Grids of small shapes: triangles, random squares, squares, circles and diamonds.
#include "transitions/regions/complex_region.h"
#include "transitions/regions/families.h"
#include "transitions/regions/scan_convert.h"

#include <QPoint>
#include <algorithm>

namespace kalmo::transitions::regions {

namespace {

SpanRegion triangularShred(const RegionContext &c) {
    const int n = c.w / 10 + 1;
    const int m = c.h / 10 + 1;
    const int hw = MulDiv(n, c.p, 50);
    const int hh = MulDiv(m, c.p, 50);
    SpanBuilder builder(c.w, c.h);
    for (int x = n; x - n < c.w; x += 2 * n) {
        for (int y = m; y - m < c.h + m; y += 2 * m) {
            const QPoint tri[] = {{x - hw, y - hh}, {x, y + hh}, {x + hw, y - hh}};
            addPolygon(builder, tri);
        }
    }
    return builder.build();
}

// The same cells in every frame of one transition, so squares only accumulate.
SpanRegion randomSquares(const RegionContext &c) {
    core::RandomStateGuard guard(c.random, c.transitionSeed);
    const int cell = 2 * (std::min(c.w, c.h) / 50 + 1);
    TComplexRegion rgn;
    for (int x = 0; x < c.w; x += cell)
        for (int y = 0; y < c.h; y += cell)
            if (c.random.below(100) < c.p)
                rgn.AddRect(x, y, x + cell, y + cell);
    return rgn.CreateRegion(c.w, c.h).value_or(SpanRegion(c.w, c.h));
}

SpanRegion rectangularShred(const RegionContext &c) {
    const int n = std::min(c.w, c.h) / 10 + 1;
    const int a = MulDiv(n, c.p, 100);
    TComplexRegion rgn;
    for (int s = 0; s < c.w; s += 2 * n)
        for (int t = 0; t < c.h; t += 2 * n)
            rgn.AddRect(s + n - a, t + n - a, s + n + a, t + n + a);
    return rgn.CreateRegion(c.w, c.h).value_or(SpanRegion(c.w, c.h));
}

SpanRegion circularShred(const RegionContext &c) {
    const int a = std::min(c.w, c.h) / 10 + 1;
    const int b = MulDiv(3 * a, c.p, 200);
    SpanBuilder builder(c.w, c.h);
    for (int s = 0; s < c.w; s += 2 * a)
        for (int t = 0; t < c.h; t += 2 * a)
            addEllipse(builder, s + a - b, t + a - b, s + a + b, t + a + b);
    return builder.build();
}

SpanRegion diamondShred(const RegionContext &c) {
    const int n = std::min(c.w, c.h) / 10 + 1;
    const int b = MulDiv(n, c.p, 50);
    SpanBuilder builder(c.w, c.h);
    for (int x = n; x - n < c.w; x += 2 * n) {
        for (int y = n; y - n < c.h; y += 2 * n) {
            const QPoint diamond[] = {{x - b, y}, {x, y - b}, {x + b, y}, {x, y + b}};
            addPolygon(builder, diamond);
        }
    }
    return builder.build();
}

} // namespace

RegionBuilder gridStyle(int style) {
    switch (style) {
    case 118:
        return &triangularShred;
    case 128:
        return &randomSquares;
    case 143:
        return &rectangularShred;
    case 153:
        return &circularShred;
    case 164:
        return &diamondShred;
    default:
        return nullptr;
    }
}

} // namespace kalmo::transitions::regions
