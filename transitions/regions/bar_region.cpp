#include "transitions/regions/bar_region.h"

#include "transitions/regions/complex_region.h"
#include "transitions/regions/families.h"

#include <algorithm>

namespace kalmo::transitions::regions {

namespace {

// One set of bars across the picture: length L along, A across, front at p, thickness s.
void addBars(OrientedRects rects, int kind, int p, int L, int A, int s) {
    for (int b = p > L ? s : 0; b < A + s; b += 2 * s) {
        if (p > L) {
            if (kind == 1 || kind == 4)
                rects.add(2 * L - p, b, L, b + s);
            else if (kind == 2 || kind == 5)
                rects.add(0, b, p - L, b + s);
            rects.add(0, b - s, L, b);
        } else if (kind == 1 || kind == 5) {
            rects.add(L - p, b, L, b + s);
        } else if (kind == 2 || kind == 4) {
            rects.add(0, b, p, b + s);
        } else if (kind == 3) {
            rects.add(0, b + s, p, b + 2 * s);
            rects.add(L - p, b, L, b + s);
        }
    }
}

} // namespace

SpanRegion CreateBarRegion(int px, int py, int W, int H, int hk, int vk) {
    TComplexRegion rgn;
    const int s = std::min(W, H) / 50 + 1;
    if (hk != 0)
        addBars(OrientedRects(rgn, true), hk, px, W, H, s);
    if (vk != 0)
        addBars(OrientedRects(rgn, false), vk, py, H, W, s);
    return rgn.CreateRegion(W, H).value_or(SpanRegion(W, H));
}

namespace {

// px = pxScale * X, py = pyScale * Y.
struct BarStyle {
    int style;
    int pxScale;
    int pyScale;
    int hk;
    int vk;
};

constexpr BarStyle barStyles[] = {
    {60, 2, 0, 1, 0}, {61, 2, 0, 2, 0}, {62, 2, 0, 4, 0}, {63, 2, 0, 5, 0}, {64, 1, 0, 3, 0},
    {71, 0, 2, 0, 1}, {72, 0, 2, 0, 2}, {73, 0, 2, 0, 4}, {74, 0, 2, 0, 5}, {75, 0, 1, 0, 3},
    {86, 2, 2, 1, 1}, {87, 2, 2, 1, 2}, {88, 2, 2, 2, 1}, {89, 2, 2, 2, 2}, {90, 2, 2, 4, 4},
    {91, 2, 2, 4, 5}, {92, 2, 2, 5, 4}, {93, 2, 2, 5, 5}, {94, 1, 1, 1, 3}, {95, 1, 1, 2, 3},
    {96, 1, 1, 3, 1}, {97, 1, 1, 3, 2}, {98, 1, 1, 3, 3},
};

const BarStyle *findBarStyle(int style) {
    for (const BarStyle &b : barStyles)
        if (b.style == style)
            return &b;
    return nullptr;
}

SpanRegion bars(const RegionContext &c) {
    if (c.style == 99) {
        // Both diagonal directions at once: only where the two bar sets overlap.
        return CreateBarRegion(2 * c.x, 2 * c.y, c.w, c.h, 1, 1)
            .intersected(CreateBarRegion(2 * c.x, 2 * c.y, c.w, c.h, 2, 2));
    }
    const BarStyle *b = findBarStyle(c.style);
    if (!b)
        return SpanRegion(c.w, c.h);
    return CreateBarRegion(b->pxScale * c.x, b->pyScale * c.y, c.w, c.h, b->hk, b->vk);
}

} // namespace

RegionBuilder barStyle(int style) {
    return style == 99 || findBarStyle(style) ? &bars : nullptr;
}

} // namespace kalmo::transitions::regions
