// Triangles, diamonds, bow ties and zigzags: unions and exclusive-ors of small polygons.
#include "transitions/regions/families.h"
#include "transitions/regions/polygon_region.h"
#include "transitions/regions/scan_convert.h"

#include <QPoint>
#include <initializer_list>
#include <vector>

namespace kalmo::transitions::regions {

namespace {

using Poly = std::initializer_list<QPoint>;

// Union of polygons, each filled with the winding rule on its own.
SpanRegion unionOf(const RegionContext &c, std::initializer_list<Poly> polygons) {
    SpanBuilder builder(c.w, c.h);
    for (const Poly &p : polygons)
        addPolygon(builder, std::span<const QPoint>(p.begin(), p.size()));
    return builder.build();
}

SpanRegion polygon(const RegionContext &c, Poly points) {
    return CreatePolygonRegion(std::span<const QPoint>(points.begin(), points.size()), c.w, c.h);
}

SpanRegion zigzag(const RegionContext &c, bool horizontal) {
    const int along = horizontal ? c.w : c.h;
    const int across = horizontal ? c.h : c.w;
    const int extent = horizontal ? c.y : c.x;
    const int step = along / 10;
    const int m = across / 10;
    const int half = MulDiv(m, c.p, 100) + extent / 2;
    const int d = across / 2;
    std::vector<QPoint> points;
    points.reserve(24);
    auto add = [&](int k, int offset) {
        points.push_back(horizontal ? QPoint(k * step, offset) : QPoint(offset, k * step));
    };
    for (int k = 0; k <= 11; ++k)
        add(k, k % 2 == 0 ? d + m - half : d - m - half);
    for (int k = 11; k >= 0; --k)
        add(k, k % 2 == 0 ? d + m + half : d - m + half);
    return CreatePolygonRegion(points, c.w, c.h);
}

SpanRegion polygons(const RegionContext &c) {
    const int W = c.w;
    const int H = c.h;
    const int X = c.x;
    const int Y = c.y;
    const int cw = W / 2;
    const int ch = H / 2;
    switch (c.style) {
    case 110:
        return polygon(c, {{0, 0}, {2 * X, 0}, {0, 2 * Y}});
    case 111:
        return polygon(c, {{W, 0}, {W - 2 * X, 0}, {W, 2 * Y}});
    case 112:
        return polygon(c, {{0, H}, {2 * X, H}, {0, H - 2 * Y}});
    case 113:
        return polygon(c, {{W, H}, {W - 2 * X, H}, {W, H - 2 * Y}});
    case 114:
        return unionOf(c, {{{0, H}, {0, 0}, {X, H}}, {{W, H}, {W, 0}, {W - X, 0}}});
    case 115:
        return unionOf(c, {{{W, 0}, {0, 0}, {W, Y}}, {{W, H}, {0, H}, {0, H - Y}}});
    case 116: {
        const QPoint m(cw, ch);
        return unionOf(c, {{m, {0, 0}, {X, 0}},
                           {m, {0, H}, {0, H - Y}},
                           {m, {W, H}, {W - X, H}},
                           {m, {W, 0}, {W, Y}}});
    }
    case 117: {
        const QPoint m(cw, ch);
        return unionOf(c, {{m, {0, 0}, {0, Y}},
                           {m, {0, H}, {X, H}},
                           {m, {W, H}, {W, H - Y}},
                           {m, {W, 0}, {W - X, 0}}});
    }
    case 154:
        return polygon(c, {{0, ch - Y}, {2 * X, ch}, {0, ch + Y}});
    case 155:
        return polygon(c, {{W, ch - Y}, {W - 2 * X, ch}, {W, ch + Y}});
    case 156:
        return polygon(c, {{cw - X, 0}, {cw, 2 * Y}, {cw + X, 0}});
    case 157:
        return polygon(c, {{cw - X, H}, {cw, H - 2 * Y}, {cw + X, H}});
    case 158:
        return unionOf(
            c, {{{0, ch - Y}, {X, ch}, {0, ch + Y}}, {{W, ch - Y}, {W - X, ch}, {W, ch + Y}}});
    case 159:
        return unionOf(c, {{{cw - X, 0}, {cw, 2 * Y}, {cw + X, 0}},
                           {{cw - X, H}, {cw, H - 2 * Y}, {cw + X, H}}});
    case 160: {
        const int a = X / 2;
        const int b = Y / 2;
        return unionOf(c, {{{0, ch - b}, {a, ch}, {0, ch + b}},
                           {{W, ch - b}, {W - a, ch}, {W, ch + b}},
                           {{cw - a, 0}, {cw, b}, {cw + a, 0}},
                           {{cw - a, H}, {cw, H - b}, {cw + a, H}}});
    }
    case 161: {
        // The same four triangles, shrinking, each toggled out of the whole frame in turn.
        const int a = (W - X) / 2;
        const int b = (H - Y) / 2;
        SpanRegion r = SpanRegion::fullFrame(W, H);
        r = r.xored(polygon(c, {{0, ch - b}, {a, ch}, {0, ch + b}}));
        r = r.xored(polygon(c, {{W, ch - b}, {W - a, ch}, {W, ch + b}}));
        r = r.xored(polygon(c, {{cw - a, 0}, {cw, b}, {cw + a, 0}}));
        return r.xored(polygon(c, {{cw - a, H}, {cw, H - b}, {cw + a, H}}));
    }
    case 162:
        return zigzag(c, true);
    case 163:
        return zigzag(c, false);
    case 165:
        return polygon(c, {{cw - X, ch}, {cw, ch - Y}, {cw + X, ch}, {cw, ch + Y}});
    case 166:
        return SpanRegion::fullFrame(W, H).xored(
            polygon(c, {{X - cw, ch}, {cw, Y - ch}, {3 * cw - X, ch}, {cw, 3 * ch - Y}}));
    case 167: {
        const int a = X / 2;
        const int b = Y / 2;
        return polygon(c, {{-a, ch}, {cw, -b}, {2 * cw + a, ch}, {cw, 2 * ch + b}})
            .xored(polygon(c, {{a, ch}, {cw, b}, {2 * cw - a, ch}, {cw, 2 * ch - b}}));
    }
    default:
        return SpanRegion(W, H);
    }
}

} // namespace

RegionBuilder polygonStyle(int style) {
    if ((style >= 110 && style <= 117) || (style >= 154 && style <= 163) ||
        (style >= 165 && style <= 167))
        return &polygons;
    return nullptr;
}

} // namespace kalmo::transitions::regions
