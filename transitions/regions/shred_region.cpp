#include "transitions/regions/shred_region.h"

#include "transitions/regions/complex_region.h"
#include "transitions/regions/families.h"

#include <algorithm>

namespace kalmo::transitions::regions {

namespace {

// One set of strips across the picture: length L along, A across, front at p.
void addShreds(OrientedRects rects, int kind, int p, int L, int A, int s, core::Random &random) {
    // Every strip is lengthened by the remainder, so that the last one reaches the edge.
    const int rest = A % s;
    const int f = p < L ? L / 10 : 0;
    for (int c = 0; c < A; c += s) {
        const int len = p - f + random.below(2 * f);
        const int end = c + s + rest;
        const int h = len / 2;
        switch (kind) {
        case 1:
            rects.add(L - len, c, L, end);
            break;
        case 2:
            rects.add(0, c, len, end);
            break;
        case 3:
            rects.add(L / 2 - h, c, L / 2, end);
            rects.add(L / 2, c, L / 2 + h, end);
            break;
        case 4:
            rects.add(L - h, c, L, end);
            rects.add(0, c, h, end);
            break;
        default:
            break;
        }
    }
}

} // namespace

SpanRegion CreateShredRegion(int px, int py, int W, int H, int hk, int vk, core::Random &random) {
    TComplexRegion rgn;
    const int s = std::min(W, H) / 200 + 1;
    if (hk != 0)
        addShreds(OrientedRects(rgn, true), hk, px, W, H, s, random);
    if (vk != 0)
        addShreds(OrientedRects(rgn, false), vk, py, H, W, s, random);
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
