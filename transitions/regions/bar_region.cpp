#include "transitions/regions/bar_region.h"

#include "transitions/regions/complex_region.h"
#include "transitions/regions/families.h"

#include <algorithm>

namespace kalmo::transitions::regions {

SpanRegion CreateBarRegion(int px, int py, int W, int H, int hk, int vk) {
    TComplexRegion rgn;
    const int s = std::min(W, H) / 50 + 1;
    if (hk != 0) {
        for (int b = px > W ? s : 0; b < H + s; b += 2 * s) {
            if (px > W) {
                if (hk == 1 || hk == 4)
                    rgn.AddRect(2 * W - px, b, W, b + s);
                else if (hk == 2 || hk == 5)
                    rgn.AddRect(0, b, px - W, b + s);
                rgn.AddRect(0, b - s, W, b);
            } else if (hk == 1 || hk == 5) {
                rgn.AddRect(W - px, b, W, b + s);
            } else if (hk == 2 || hk == 4) {
                rgn.AddRect(0, b, px, b + s);
            } else if (hk == 3) {
                rgn.AddRect(0, b + s, px, b + 2 * s);
                rgn.AddRect(W - px, b, W, b + s);
            }
        }
    }
    if (vk != 0) {
        for (int c = py > H ? s : 0; c < W + s; c += 2 * s) {
            if (py > H) {
                if (vk == 1 || vk == 4)
                    rgn.AddRect(c, 2 * H - py, c + s, H);
                else if (vk == 2 || vk == 5)
                    rgn.AddRect(c, 0, c + s, py - H);
                rgn.AddRect(c - s, 0, c, H);
            } else if (vk == 1 || vk == 5) {
                rgn.AddRect(c, H - py, c + s, H);
            } else if (vk == 2 || vk == 4) {
                rgn.AddRect(c, 0, c + s, py);
            } else if (vk == 3) {
                rgn.AddRect(c, H - py, c + s, H);
                rgn.AddRect(c + s, 0, c + 2 * s, py);
            }
        }
    }
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
