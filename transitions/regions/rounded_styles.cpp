// Curved reveals: one rounded rectangle or ellipse that grows with progress.
#include "transitions/regions/families.h"
#include "transitions/regions/scan_convert.h"

namespace kalmo::transitions::regions {

namespace {

SpanRegion roundRect(const RegionContext &c, int l, int t, int r, int b, int cw, int ch) {
    SpanBuilder builder(c.w, c.h);
    addRoundRect(builder, l, t, r, b, cw, ch);
    return builder.build();
}

SpanRegion rounded(const RegionContext &c) {
    const int W = c.w;
    const int H = c.h;
    const int X = c.x;
    const int Y = c.y;
    switch (c.style) {
    case 58:
        return roundRect(c, -2 * W, 0, 2 * X, H + 1, 2 * W, 2 * W);
    case 59:
        return roundRect(c, W - 2 * X, 0, 3 * W, H + 1, 2 * W, 2 * W);
    case 69:
        return roundRect(c, 0, -2 * H, W + 1, 2 * Y, 2 * H, 2 * H);
    case 70:
        return roundRect(c, 0, H - 2 * Y, W + 1, 3 * H, 2 * H, 2 * H);
    case 80:
        return roundRect(c, -W, -H, (3 * X) / 2, (3 * Y) / 2, 2 * W, 2 * H);
    case 81:
        return roundRect(c, W - (3 * X) / 2, -H, 2 * W, (3 * Y) / 2, 2 * W, 2 * H);
    case 82:
        return roundRect(c, -W, H - (3 * Y) / 2, (3 * X) / 2, 2 * H, 2 * W, 2 * H);
    case 83:
        return roundRect(c, W - (3 * X) / 2, H - (3 * Y) / 2, 2 * W, 2 * H, 2 * W, 2 * H);
    case 84: {
        const int cx = W / 2;
        const int cy = H / 2;
        return roundRect(c, cx - X, cy - Y, cx + X, cy + Y, (9 * X) / 5, (9 * Y) / 5);
    }
    case 85: {
        // Everything outside a shrinking rounded rectangle.
        const int cx = W / 2;
        const int cy = H / 2;
        return SpanRegion::fullFrame(W, H).xored(roundRect(
            c, X - cx, Y - cy, 3 * cx - X, 3 * cy - Y, (9 * (W - X)) / 5, (9 * (H - Y)) / 5));
    }
    default:
        return SpanRegion(W, H);
    }
}

} // namespace

RegionBuilder roundedStyle(int style) {
    switch (style) {
    case 58:
    case 59:
    case 69:
    case 70:
    case 80:
    case 81:
    case 82:
    case 83:
    case 84:
    case 85:
        return &rounded;
    default:
        return nullptr;
    }
}

} // namespace kalmo::transitions::regions
