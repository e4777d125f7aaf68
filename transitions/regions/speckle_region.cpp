#include "transitions/regions/speckle_region.h"

#include "transitions/regions/complex_region.h"
#include "transitions/regions/families.h"

#include <algorithm>

namespace kalmo::transitions::regions {

namespace {

bool speckShows(core::Random &random, int k, int e) {
    return random.below(k) <= (k <= e ? 1 : 0);
}

} // namespace

namespace {

// One solid front with its specks: length L along, A across, front at p; kind 1 grows from
// the far end, kind 2 from the near one.
void addSpeckles(OrientedRects rects, int kind, int p, int L, int A, core::Random &random) {
    const int c = p < L ? L / 10 : 0;
    const int d = std::max(2, c / 20);
    const int count = c / d;
    const int e = (3 * c) / (4 * d);
    // Rows (or columns) overlap by half a speck.
    for (int a = 0; a < A; a += d / 2) {
        if (kind == 1) {
            rects.add(L - p, a, L, a + d);
            for (int k = count; k >= 1; --k) {
                if (speckShows(random, k, e)) {
                    const int l = L - p - k * d;
                    rects.add(l, a, l + d, a + d);
                }
            }
        } else {
            rects.add(0, a, p, a + d);
            for (int k = count; k >= 1; --k)
                if (speckShows(random, k, e))
                    rects.add(p + (k - 1) * d, a, p + k * d, a + d);
        }
    }
}

} // namespace

SpanRegion CreateSpeckleRegion(int px, int py, int W, int H, int hk, int vk, core::Random &random) {
    TComplexRegion rgn;
    if (hk != 0)
        addSpeckles(OrientedRects(rgn, true), hk, px, W, H, random);
    if (vk != 0)
        addSpeckles(OrientedRects(rgn, false), vk, py, H, W, random);
    return rgn.CreateRegion(W, H).value_or(SpanRegion(W, H));
}

namespace {

SpanRegion speckles(const RegionContext &c) {
    switch (c.style) {
    case 124:
        return CreateSpeckleRegion(c.x, c.y, c.w, c.h, 1, 0, c.random);
    case 125:
        return CreateSpeckleRegion(c.x, c.y, c.w, c.h, 2, 0, c.random);
    case 126:
        return CreateSpeckleRegion(c.x, c.y, c.w, c.h, 0, 1, c.random);
    case 127:
        return CreateSpeckleRegion(c.x, c.y, c.w, c.h, 0, 2, c.random);
    default:
        return SpanRegion(c.w, c.h);
    }
}

} // namespace

RegionBuilder speckleStyle(int style) {
    return style >= 124 && style <= 127 ? &speckles : nullptr;
}

} // namespace kalmo::transitions::regions
