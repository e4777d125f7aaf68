// Styles that move, stretch, roll or push whole rectangles: each is a short list of
// rectangle copies computed from (W, H, X, Y), executed by one shared routine.
#include "transitions/blit.h"
#include "transitions/effects.h"
#include "transitions/style_info.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace kalmo::transitions {
namespace {

struct Copy {
    bool fromOld; // source is the old picture (a move of the frame within itself)
    int sx, sy, sw, sh;
    int dx, dy, dw, dh;
};

struct Shade {
    bool rows = false;
    int first = 0, count = 0;
};

struct CopyList {
    std::array<Copy, 4> copies{};
    int count = 0;
    Shade shade;

    void n(int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
        copies[static_cast<size_t>(count++)] = {false, sx, sy, sw, sh, dx, dy, dw, dh};
    }
    void d(int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
        copies[static_cast<size_t>(count++)] = {true, sx, sy, sw, sh, dx, dy, dw, dh};
    }
};

// The roll strip width shared by the unroll styles.
int rollWidth(int size, int extent, int remaining) {
    int r = size / 10;
    if (extent < r)
        r = extent;
    else if (remaining < 2 * r)
        r = remaining / 2;
    return r;
}

void build(int style, int W, int H, int X, int Y, CopyList &l) {
    switch (style) {
    case 1:
        l.n(0, 0, W, H, W - X, 0, X, H);
        break;
    case 2:
        l.n(0, 0, W, H, 0, 0, X, H);
        break;
    case 3:
        l.n(0, 0, W, H, W - X, 0, W, H);
        break;
    case 4:
        l.n(0, 0, W, H, X - W, 0, W, H);
        break;
    case 5:
        l.n(0, 0, X, H, 0, 0, X, H);
        break;
    case 6:
        l.n(W - X, 0, X, H, W - X, 0, X, H);
        break;
    case 7:
        l.n(0, 0, X, H, 0, 0, 2 * W - X, H);
        break;
    case 8:
        l.n(W - X, 0, X, H, X - W, 0, 2 * W - X, H);
        break;
    case 9:
        l.n((W - X) / 2, 0, X, H, X - W, 0, 3 * W - 2 * X, H);
        break;
    case 10:
        l.n(0, 0, W, H, (W - X) / 2, 0, X, H);
        break;
    case 11: {
        const int m = (W - X) / 2;
        l.n(m, 0, X, H, m, 0, X, H);
        break;
    }
    case 12: {
        const int h = X / 2;
        l.n(0, 0, h, H, 0, 0, h, H);
        l.n(W - h, 0, h, H, W - h, 0, h, H);
        break;
    }
    case 13: {
        const int h = X / 2, s = W / 2;
        l.n(0, 0, s, H, 0, 0, h, H);
        l.n(s, 0, s, H, W - h, 0, h, H);
        break;
    }
    case 14: {
        const int r = rollWidth(W, X, W - X);
        l.n(X + r, 0, r, H, X + r - 1, 0, -r, H);
        l.n(0, 0, X, H, 0, 0, X, H);
        l.shade = {false, X, r};
        break;
    }
    case 15: {
        const int x = W - X;
        const int r = rollWidth(W, X, x);
        l.n(x - 2 * r - 1, 0, r, H, x - 1, 0, -r, H);
        l.n(x, 0, X, H, x, 0, X, H);
        l.shade = {false, x - r, r};
        break;
    }
    case 16:
        l.n(0, 0, X, H, 0, 0, X, H);
        l.n(X, 0, std::min(W - X, W / 10), H, X, 0, W - X, H);
        break;
    case 17: {
        const int d = W - X, s = std::max(0, d - W / 10);
        l.n(d, 0, X, H, d, 0, X, H);
        l.n(s, 0, d - s, H, 0, 0, d, H);
        break;
    }
    case 18:
        l.n(0, 0, W, H, 0, H - Y, W, Y);
        break;
    case 19:
        l.n(0, 0, W, H, 0, 0, W, Y);
        break;
    case 20:
        l.n(0, 0, W, H, 0, H - Y, W, H);
        break;
    case 21:
        l.n(0, 0, W, H, 0, Y - H, W, H);
        break;
    case 22:
        l.n(0, 0, W, Y, 0, 0, W, Y);
        break;
    case 23:
        l.n(0, H - Y, W, Y, 0, H - Y, W, Y);
        break;
    case 24:
        l.n(0, 0, W, Y, 0, 0, W, 2 * H - Y);
        break;
    case 25:
        l.n(0, H - Y, W, Y, 0, Y - H, W, 2 * H - Y);
        break;
    case 26:
        l.n(0, (H - Y) / 2, W, Y, 0, Y - H, W, 3 * H - 2 * Y);
        break;
    case 27:
        l.n(0, 0, W, H, 0, (H - Y) / 2, W, Y);
        break;
    case 28: {
        const int m = (H - Y) / 2;
        l.n(0, m, W, Y, 0, m, W, Y);
        break;
    }
    case 29: {
        const int h = Y / 2;
        l.n(0, 0, W, h, 0, 0, W, h);
        l.n(0, H - h, W, h, 0, H - h, W, h);
        break;
    }
    case 30: {
        const int h = Y / 2, s = H / 2;
        l.n(0, 0, W, s, 0, 0, W, h);
        l.n(0, s, W, s, 0, H - h, W, h);
        break;
    }
    case 31: {
        const int r = rollWidth(H, Y, H - Y);
        l.n(0, Y + r, W, r, 0, Y + r - 1, W, -r);
        l.n(0, 0, W, Y, 0, 0, W, Y);
        l.shade = {true, Y, r};
        break;
    }
    case 32: {
        const int y = H - Y;
        const int r = rollWidth(H, Y, y);
        l.n(0, y - 2 * r - 1, W, r, 0, y - 1, W, -r);
        l.n(0, y, W, Y, 0, y, W, Y);
        l.shade = {true, y - r, r};
        break;
    }
    case 33:
        l.n(0, 0, W, Y, 0, 0, W, Y);
        l.n(0, Y, W, std::min(H - Y, H / 10), 0, Y, W, H - Y);
        break;
    case 34: {
        const int d = H - Y, s = std::max(0, d - H / 10);
        l.n(0, d, W, Y, 0, d, W, Y);
        l.n(0, s, W, d - s, 0, 0, W, d);
        break;
    }
    case 35:
        l.n(0, 0, W, H, W - X, H - Y, X, Y);
        break;
    case 36:
        l.n(0, 0, W, H, W - X, 0, X, Y);
        break;
    case 37:
        l.n(0, 0, W, H, 0, 0, X, Y);
        break;
    case 38:
        l.n(0, 0, W, H, 0, H - Y, X, Y);
        break;
    case 39:
        l.n(0, 0, W, H, W - X, H - Y, W, H);
        break;
    case 40:
        l.n(0, 0, W, H, W - X, Y - H, W, H);
        break;
    case 41:
        l.n(0, 0, W, H, X - W, Y - H, W, H);
        break;
    case 42:
        l.n(0, 0, W, H, X - W, H - Y, W, H);
        break;
    case 43:
        l.n(0, 0, X, Y, 0, 0, X, Y);
        break;
    case 44:
        l.n(0, H - Y, X, Y, 0, H - Y, X, Y);
        break;
    case 45:
        l.n(W - X, H - Y, X, Y, W - X, H - Y, X, Y);
        break;
    case 46:
        l.n(W - X, 0, X, Y, W - X, 0, X, Y);
        break;
    case 47:
        l.n(0, 0, X, Y, 0, 0, 2 * W - X, 2 * H - Y);
        break;
    case 48:
        l.n(0, H - Y, X, Y, 0, Y - H, 2 * W - X, 2 * H - Y);
        break;
    case 49:
        l.n(W - X, H - Y, X, Y, X - W, Y - H, 2 * W - X, 2 * H - Y);
        break;
    case 50:
        l.n(W - X, 0, X, Y, X - W, 0, 2 * W - X, 2 * H - Y);
        break;
    case 51:
        l.n((W - X) / 2, (H - Y) / 2, X, Y, X - W, Y - H, 3 * W - 2 * X, 3 * H - 2 * Y);
        break;
    case 52:
        l.n(0, 0, W, H, (W - X) / 2, (H - Y) / 2, X, Y);
        break;
    case 53: {
        const int a = (W - X) / 2, b = (H - Y) / 2;
        l.n(a, b, X, Y, a, b, X, Y);
        break;
    }
    case 54: {
        // The whole new picture except the rectangle (l, t)-(W - l, H - t), which keeps the
        // old picture: the band above, the band below, and the two sides between them.
        const int L = X / 2, T = Y / 2;
        l.n(0, 0, W, T, 0, 0, W, T);
        l.n(0, H - T, W, T, 0, H - T, W, T);
        l.n(0, T, L, H - 2 * T, 0, T, L, H - 2 * T);
        l.n(W - L, T, L, H - 2 * T, W - L, T, L, H - 2 * T);
        break;
    }
    case 55: {
        const int h = X / 2, v = Y / 2;
        l.n(0, 0, h, v, 0, 0, h, v);
        l.n(0, H - v, h, v, 0, H - v, h, v);
        l.n(W - h, H - v, h, v, W - h, H - v, h, v);
        l.n(W - h, 0, h, v, W - h, 0, h, v);
        break;
    }
    case 56: {
        const int h = X / 2, v = Y / 2, s = W / 2, t = H / 2;
        l.n(0, 0, s, t, 0, 0, h, v);
        l.n(0, t, s, t, 0, H - v, h, v);
        l.n(s, t, s, t, W - h, H - v, h, v);
        l.n(s, 0, s, t, W - h, 0, h, v);
        break;
    }
    case 57: {
        const int h = X / 2, v = Y / 2, s = W / 2, t = H / 2;
        l.n(0, 0, s, t, h - s, 0, s, t);
        l.n(s, 0, s, t, s, v - t, s, t);
        l.n(s, t, s, t, W - h, t, s, t);
        l.n(0, t, s, t, 0, H - v, s, t);
        break;
    }
    case 129:
        l.d(0, 0, W - X, H, X, 0, W - X, H);
        l.n(W - X, 0, X, H, 0, 0, X, H);
        break;
    case 130:
        l.d(X, 0, W - X, H, 0, 0, W - X, H);
        l.n(0, 0, X, H, W - X, 0, X, H);
        break;
    case 131:
        l.d(0, 0, W, H, X, 0, W - X, H);
        l.n(W - X, 0, X, H, 0, 0, X, H);
        break;
    case 132:
        l.d(0, 0, W, H, 0, 0, W - X, H);
        l.n(0, 0, X, H, W - X, 0, X, H);
        break;
    case 133:
        l.d(0, 0, W, H - Y, 0, Y, W, H - Y);
        l.n(0, H - Y, W, Y, 0, 0, W, Y);
        break;
    case 134:
        l.d(0, Y, W, H - Y, 0, 0, W, H - Y);
        l.n(0, 0, W, Y, 0, H - Y, W, Y);
        break;
    case 135:
        l.d(0, 0, W, H, 0, Y, W, H - Y);
        l.n(0, H - Y, W, Y, 0, 0, W, Y);
        break;
    case 136:
        l.d(0, 0, W, H, 0, 0, W, H - Y);
        l.n(0, 0, W, Y, 0, H - Y, W, Y);
        break;
    case 173:
        l.d(0, 0, W - X, H, X, 0, W - X, H);
        l.n(0, 0, X, H, 0, 0, X, H);
        break;
    case 174:
        l.d(X, 0, W - X, H, 0, 0, W - X, H);
        l.n(W - X, 0, X, H, W - X, 0, X, H);
        break;
    case 175:
        l.d(0, 0, W, H - Y, 0, Y, W, H - Y);
        l.n(0, 0, W, Y, 0, 0, W, Y);
        break;
    case 176:
        l.d(0, Y, W, H - Y, 0, 0, W, H - Y);
        l.n(0, H - Y, W, Y, 0, H - Y, W, Y);
        break;
    default:
        break;
    }
}

// Copies the old picture into every pixel of the frame that no copy of the list covers,
// so that the frame is built in one pass instead of old-then-new.
void fillUncovered(QImage &display, const QImage &old, const QRect *cover, int coverCount, int top,
                   int bottom) {
    const int W = display.width(), H = std::min(display.height(), bottom);
    std::array<std::pair<int, int>, 4> spans{};
    for (int y = std::max(0, top); y < H; ++y) {
        int n = 0;
        for (int i = 0; i < coverCount; ++i) {
            const QRect &r = cover[i];
            if (!r.isEmpty() && y >= r.top() && y <= r.bottom())
                spans[static_cast<size_t>(n++)] = {r.left(), r.right() + 1};
        }
        for (int i = 1; i < n; ++i) // at most four spans: insertion sort by left edge
            for (int j = i;
                 j > 0 && spans[static_cast<size_t>(j)] < spans[static_cast<size_t>(j - 1)]; --j)
                std::swap(spans[static_cast<size_t>(j)], spans[static_cast<size_t>(j - 1)]);
        std::uint32_t *d = row(display, y);
        const std::uint32_t *o = row(old, y);
        int x = 0;
        for (int i = 0; i <= n; ++i) {
            const int end = i < n ? spans[static_cast<size_t>(i)].first : W;
            if (end > x)
                std::memcpy(d + x, o + x, static_cast<size_t>(end - x) * 4);
            if (i < n)
                x = std::max(x, spans[static_cast<size_t>(i)].second);
        }
    }
}

void runCopies(EffectFrame &f, const CopyList &l) {
    QImage snapshot;
    const QImage *old = f.old && f.old->size() == f.display.size() ? f.old : nullptr;
    bool movesOld = false;
    for (int i = 0; i < l.count; ++i)
        movesOld = movesOld || l.copies[static_cast<size_t>(i)].fromOld;
    if (!old && (movesOld || !f.oldInDisplay)) {
        if (!f.oldInDisplay)
            return; // nothing to build the frame from; cannot happen through the player
        snapshot = f.display.copy();
        old = &snapshot;
    }
    if (!f.oldInDisplay) {
        std::array<QRect, 4> cover;
        for (int i = 0; i < l.count; ++i) {
            const Copy &c = l.copies[static_cast<size_t>(i)];
            const QImage &src = c.fromOld ? *old : f.pic;
            cover[static_cast<size_t>(i)] = stretchTarget(f.display.size(), c.dx, c.dy, c.dw, c.dh,
                                                          src.size(), c.sx, c.sy, c.sw, c.sh);
        }
        fillUncovered(f.display, *old, cover.data(), l.count, f.top, f.bottom);
    }
    for (int i = 0; i < l.count; ++i) {
        const Copy &c = l.copies[static_cast<size_t>(i)];
        stretchBlt(f.display, c.dx, c.dy, c.dw, c.dh, c.fromOld ? *old : f.pic, c.sx, c.sy, c.sw,
                   c.sh, f.top, f.bottom);
    }
    if (l.shade.count > 0) {
        if (l.shade.rows)
            shadeRows(f.display, 64, l.shade.first, l.shade.count, f.top, f.bottom);
        else
            shadeColumns(f.display, 64, l.shade.first, l.shade.count, f.top, f.bottom);
    }
}

template <int Style> void moveProc(EffectFrame &f) {
    if (f.w <= 0 || f.h <= 0 || f.display.size() != QSize(f.w, f.h) ||
        f.pic.size() != QSize(f.w, f.h))
        return;
    CopyList l;
    build(Style, f.w, f.h, f.x, f.y, l);
    runCopies(f, l);
}

template <int... S>
constexpr std::array<EffectProc, sizeof...(S)> procs(std::integer_sequence<int, S...>) {
    return {&moveProc<S + 1>...};
}

constexpr auto kProcs = procs(std::make_integer_sequence<int, 176>{});

} // namespace

EffectProc moveEffect(int style) {
    return isStyleOf(style, StyleFamily::Move) ? kProcs[static_cast<size_t>(style - 1)] : nullptr;
}

} // namespace kalmo::transitions
