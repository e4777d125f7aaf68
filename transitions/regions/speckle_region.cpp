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

SpanRegion CreateSpeckleRegion(int px, int py, int W, int H, int hk, int vk, core::Random &random) {
    TComplexRegion rgn;
    if (hk != 0) {
        const int c = px < W ? W / 10 : 0;
        const int d = std::max(2, c / 20);
        const int count = c / d;
        const int e = (3 * c) / (4 * d);
        // Rows overlap by half a speck.
        for (int top = 0; top < H; top += d / 2) {
            if (hk == 1) {
                rgn.AddRect(W - px, top, W, top + d);
                for (int k = count; k >= 1; --k) {
                    if (speckShows(random, k, e)) {
                        const int l = W - px - k * d;
                        rgn.AddRect(l, top, l + d, top + d);
                    }
                }
            } else {
                rgn.AddRect(0, top, px, top + d);
                for (int k = count; k >= 1; --k)
                    if (speckShows(random, k, e))
                        rgn.AddRect(px + (k - 1) * d, top, px + k * d, top + d);
            }
        }
    }
    if (vk != 0) {
        const int c = py < H ? H / 10 : 0;
        const int d = std::max(2, c / 20);
        const int count = c / d;
        const int e = (3 * c) / (4 * d);
        for (int left = 0; left < W; left += d / 2) {
            if (vk == 1) {
                rgn.AddRect(left, H - py, left + d, H);
                for (int k = count; k >= 1; --k) {
                    if (speckShows(random, k, e)) {
                        const int t = H - py - k * d;
                        rgn.AddRect(left, t, left + d, t + d);
                    }
                }
            } else {
                rgn.AddRect(left, 0, left + d, py);
                for (int k = count; k >= 1; --k)
                    if (speckShows(random, k, e))
                        rgn.AddRect(left, py + (k - 1) * d, left + d, py + k * d);
            }
        }
    }
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
