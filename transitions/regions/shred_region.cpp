#include "transitions/regions/shred_region.h"

#include "transitions/regions/complex_region.h"
#include "transitions/regions/families.h"

#include <algorithm>

namespace kalmo::transitions::regions {

SpanRegion CreateShredRegion(int px, int py, int W, int H, int hk, int vk, core::Random &random) {
    TComplexRegion rgn;
    const int s = std::min(W, H) / 200 + 1;
    // Every strip is lengthened by the remainder, so that the last one reaches the edge.
    const int rH = H % s;
    const int rW = W % s;
    if (hk != 0) {
        const int f = px < W ? W / 10 : 0;
        for (int top = 0; top < H; top += s) {
            const int len = px - f + random.below(2 * f);
            const int bottom = top + s + rH;
            const int h = len / 2;
            switch (hk) {
            case 1:
                rgn.AddRect(W - len, top, W, bottom);
                break;
            case 2:
                rgn.AddRect(0, top, len, bottom);
                break;
            case 3:
                rgn.AddRect(W / 2 - h, top, W / 2, bottom);
                rgn.AddRect(W / 2, top, W / 2 + h, bottom);
                break;
            case 4:
                rgn.AddRect(W - h, top, W, bottom);
                rgn.AddRect(0, top, h, bottom);
                break;
            default:
                break;
            }
        }
    }
    if (vk != 0) {
        const int f = py < H ? H / 10 : 0;
        for (int left = 0; left < W; left += s) {
            const int len = py - f + random.below(2 * f);
            const int right = left + s + rW;
            const int h = len / 2;
            switch (vk) {
            case 1:
                rgn.AddRect(left, H - len, right, H);
                break;
            case 2:
                rgn.AddRect(left, 0, right, len);
                break;
            case 3:
                rgn.AddRect(left, H / 2 - h, right, H / 2);
                rgn.AddRect(left, H / 2, right, H / 2 + h);
                break;
            case 4:
                rgn.AddRect(left, H - h, right, H);
                rgn.AddRect(left, 0, right, h);
                break;
            default:
                break;
            }
        }
    }
    return rgn.CreateRegion(W, H).value_or(SpanRegion(W, H));
}

namespace {

// Every shred style runs its fronts at px = X and py = Y.
struct ShredStyle {
    int style;
    int hk;
    int vk;
};

constexpr ShredStyle shredStyles[] = {
    {65, 1, 0},  {66, 2, 0},  {67, 3, 0},  {68, 4, 0},  {76, 0, 1},  {77, 0, 2},
    {78, 0, 3},  {79, 0, 4},  {100, 1, 1}, {101, 1, 2}, {102, 2, 1}, {103, 2, 2},
    {104, 1, 3}, {105, 2, 3}, {106, 3, 1}, {107, 3, 2}, {108, 3, 3}, {109, 4, 4},
};

const ShredStyle *findShredStyle(int style) {
    for (const ShredStyle &s : shredStyles)
        if (s.style == style)
            return &s;
    return nullptr;
}

SpanRegion shreds(const RegionContext &c) {
    const ShredStyle *s = findShredStyle(c.style);
    if (!s)
        return SpanRegion(c.w, c.h);
    return CreateShredRegion(c.x, c.y, c.w, c.h, s->hk, s->vk, c.random);
}

} // namespace

RegionBuilder shredStyle(int style) {
    return findShredStyle(style) ? &shreds : nullptr;
}

} // namespace kalmo::transitions::regions
