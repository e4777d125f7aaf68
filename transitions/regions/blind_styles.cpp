// Blinds: evenly spaced slats, and the uneven blinds whose period is the progress extent.
#include "transitions/regions/complex_region.h"
#include "transitions/regions/families.h"

namespace kalmo::transitions::regions {

namespace {

SpanRegion result(const TComplexRegion &rgn, const RegionContext &c) {
    return rgn.CreateRegion(c.w, c.h).value_or(SpanRegion(c.w, c.h));
}

SpanRegion evenBlind(const RegionContext &c) {
    TComplexRegion rgn;
    if (c.style == 137) {
        const int n = c.w / 40 + 1;
        const int a = MulDiv(n, c.p, 100);
        for (int s = 0; s < c.w; s += 2 * n)
            rgn.AddRect(s + n - a, 0, s + n + a, c.h);
    } else {
        const int n = c.h / 40 + 1;
        const int a = MulDiv(n, c.p, 100);
        for (int s = 0; s < c.h; s += 2 * n)
            rgn.AddRect(0, s + n - a, c.w, s + n + a);
    }
    return result(rgn, c);
}

// Slats of width MulDiv(extent, P, 100) repeated every `extent` pixels; a zero extent
// would never advance, so it draws nothing.
void addSlats(TComplexRegion &rgn, const RegionContext &c, int style) {
    const bool columns = style == 139 || style == 140 || style == 146 || style == 147;
    const bool fromFar = style == 140 || style == 142 || style == 147 || style == 149;
    const int extent = columns ? c.x : c.y;
    const int length = columns ? c.w : c.h;
    if (extent <= 0)
        return;
    const int a = MulDiv(extent, c.p, 100);
    if (!fromFar) {
        for (int l = 0; l < length; l += extent) {
            if (columns)
                rgn.AddRect(l, 0, l + a, c.h);
            else
                rgn.AddRect(0, l, c.w, l + a);
        }
    } else {
        for (int r = length; r > 0; r -= extent) {
            if (columns)
                rgn.AddRect(r - a, 0, r, c.h);
            else
                rgn.AddRect(0, r - a, c.w, r);
        }
    }
}

SpanRegion unevenBlind(const RegionContext &c) {
    TComplexRegion rgn;
    addSlats(rgn, c, c.style);
    return result(rgn, c);
}

// Stripes across the slats: the stripes need a picture at least 20 pixels across them.
SpanRegion rectanglesAppear(const RegionContext &c) {
    const bool columns = c.style == 146 || c.style == 147;
    const int n = columns ? c.h / 20 : c.w / 20;
    const int extent = columns ? c.x : c.y;
    TComplexRegion rgn;
    if (n == 0 || extent == 0)
        return result(rgn, c);
    const int a = MulDiv(n, c.p, 100);
    const int across = columns ? c.h : c.w;
    for (int b = -n; b < across; b += 3 * n) {
        if (columns)
            rgn.AddRect(0, b - a, c.w, b + a);
        else
            rgn.AddRect(b - a, 0, b + a, c.h);
    }
    addSlats(rgn, c, c.style);
    return result(rgn, c);
}

} // namespace

RegionBuilder blindStyle(int style) {
    if (style == 137 || style == 138)
        return &evenBlind;
    if (style >= 139 && style <= 142)
        return &unevenBlind;
    if (style >= 146 && style <= 149)
        return &rectanglesAppear;
    return nullptr;
}

} // namespace kalmo::transitions::regions
