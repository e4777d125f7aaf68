#include "transitions/blit.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace kalmo::transitions {

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return 0;
    const long long p = static_cast<long long>(a) * b;
    const bool negative = (p < 0) != (c < 0);
    const unsigned long long ap =
        p < 0 ? 0ULL - static_cast<unsigned long long>(p) : static_cast<unsigned long long>(p);
    const unsigned long long ac =
        c < 0 ? 0ULL - static_cast<unsigned long long>(c) : static_cast<unsigned long long>(c);
    const unsigned long long q = (ap + ac / 2) / ac;
    if (negative)
        return q > static_cast<unsigned long long>(INT_MAX) + 1
                   ? INT_MIN
                   : static_cast<int>(-static_cast<long long>(q));
    return q > static_cast<unsigned long long>(INT_MAX) ? INT_MAX : static_cast<int>(q);
}

namespace {

// Index into a stretched extent: sample i of `dst` destination pixels taken from `src`
// source pixels, at the pixel centre.
inline int sampleIndex(long long i, long long src, long long dst) {
    return static_cast<int>(((2 * i + 1) * src) / (2 * dst));
}

// Destination range [lo, hi) of a possibly mirrored extent anchored at `pos`, clipped to
// [0, limit).
void destRange(int pos, int extent, int limit, int &lo, int &hi) {
    if (extent > 0) {
        lo = std::max(0, pos);
        hi = static_cast<int>(std::min<long long>(limit, static_cast<long long>(pos) + extent));
    } else {
        lo = static_cast<int>(std::max<long long>(0, static_cast<long long>(pos) + extent + 1));
        hi = std::min(limit, pos + 1);
    }
}

// One stretched row: d[i] = s[map[i]]. Cloned for AVX2, whose gather instruction makes
// this loop several times faster where the processor has it.
KALMO_CLONES_AVX2 void gatherRow(std::uint32_t *d, const std::uint32_t *s, const int *map, int n) {
    for (int i = 0; i < n; ++i)
        d[i] = s[map[i]];
}

} // namespace

QRect stretchTarget(QSize dst, int dx, int dy, int dw, int dh, QSize src, int sx, int sy, int sw,
                    int sh) {
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0 || dst.isEmpty() || src.isEmpty())
        return {};
    int c0, c1, r0, r1;
    destRange(dx, dw, dst.width(), c0, c1);
    destRange(dy, dh, dst.height(), r0, r1);
    if (dw > 0 && sw > 0 && dw == sw) { // a straight copy is clipped by the source too
        c0 = static_cast<int>(std::max<long long>(c0, static_cast<long long>(dx) - sx));
        c1 = static_cast<int>(
            std::min<long long>(c1, static_cast<long long>(dx) - sx + src.width()));
    }
    if (dh > 0 && sh > 0 && dh == sh) {
        r0 = static_cast<int>(std::max<long long>(r0, static_cast<long long>(dy) - sy));
        r1 = static_cast<int>(
            std::min<long long>(r1, static_cast<long long>(dy) - sy + src.height()));
    }
    if (c0 >= c1 || r0 >= r1)
        return {};
    return QRect(c0, r0, c1 - c0, r1 - r0);
}

QRect stretchBlt(QImage &dst, int dx, int dy, int dw, int dh, const QImage &src, int sx, int sy,
                 int sw, int sh, int rowTop, int rowBottom) {
    if (dst.isNull() || src.isNull())
        return {};
    QRect target = stretchTarget(dst.size(), dx, dy, dw, dh, src.size(), sx, sy, sw, sh);
    target.setTop(std::max(target.top(), rowTop));
    target.setBottom(std::min(target.bottom(), rowBottom - 1));
    if (target.isEmpty())
        return {};
    const int SW = src.width(), SH = src.height();
    const long long adw = std::llabs(dw), adh = std::llabs(dh);
    const long long asw = std::llabs(sw), ash = std::llabs(sh);
    const int c0 = target.left(), span = target.width();
    const bool plainCols = dw > 0 && sw > 0 && adw == asw;
    const bool plainRows = dh > 0 && sh > 0 && adh == ash;

    std::vector<int> colMap;
    if (!plainCols) {
        colMap.resize(static_cast<size_t>(span));
        for (int c = c0; c < c0 + span; ++c) {
            const long long i =
                dw > 0 ? static_cast<long long>(c) - dx : static_cast<long long>(dx) - c;
            const int k = sampleIndex(i, asw, adw);
            const long long s =
                sw > 0 ? static_cast<long long>(sx) + k : static_cast<long long>(sx) - k;
            colMap[static_cast<size_t>(c - c0)] =
                static_cast<int>(std::clamp<long long>(s, 0, SW - 1));
        }
    }
    const int firstSrcCol = plainCols ? sx + (c0 - dx) : 0;

    int prevSrcRow = -1;
    const std::uint32_t *prevDst = nullptr;
    for (int r = target.top(); r <= target.bottom(); ++r) {
        const long long j =
            dh > 0 ? static_cast<long long>(r) - dy : static_cast<long long>(dy) - r;
        long long sr;
        if (plainRows)
            sr = static_cast<long long>(sy) + j;
        else {
            const int k = sampleIndex(j, ash, adh);
            sr = sh > 0 ? static_cast<long long>(sy) + k : static_cast<long long>(sy) - k;
        }
        const int srcRow = static_cast<int>(std::clamp<long long>(sr, 0, SH - 1));
        std::uint32_t *d = row(dst, r) + c0;
        if (srcRow == prevSrcRow && prevDst) {
            std::memcpy(d, prevDst, static_cast<size_t>(span) * 4);
        } else if (plainCols) {
            std::memcpy(d, row(src, srcRow) + firstSrcCol, static_cast<size_t>(span) * 4);
        } else {
            gatherRow(d, row(src, srcRow), colMap.data(), span);
        }
        prevSrcRow = srcRow;
        prevDst = d;
    }
    return target;
}

void copyRect(QImage &dst, const QImage &src, const QRect &rect) {
    const QRect r = rect & dst.rect() & src.rect();
    if (r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(row(dst, y) + r.left(), row(src, y) + r.left(),
                    static_cast<size_t>(r.width()) * 4);
}

namespace {

inline std::uint32_t blendPixel(std::uint32_t o, std::uint32_t n, std::uint32_t a) {
    const std::uint32_t ia = 256 - a;
    const std::uint32_t rb = (((o & 0xFF00FFu) * ia + (n & 0xFF00FFu) * a) >> 8) & 0xFF00FFu;
    const std::uint32_t g = (((o & 0xFF00u) * ia + (n & 0xFF00u) * a) >> 8) & 0xFF00u;
    return rb | g | (o & 0xFF000000u);
}

inline std::uint32_t shadePixel(std::uint32_t p, int offset) {
    const int b = std::clamp(static_cast<int>(p & 0xFF) + offset, 0, 255);
    const int g = std::clamp(static_cast<int>((p >> 8) & 0xFF) + offset, 0, 255);
    const int r = std::clamp(static_cast<int>((p >> 16) & 0xFF) + offset, 0, 255);
    return (p & 0xFF000000u) | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

// Offsets of a shaded band: -amplitude at both ends, rising to about 0 in the middle.
std::vector<int> shadeProfile(int amplitude, int count) {
    std::vector<int> offsets(static_cast<size_t>(count));
    const int n = count / 2;
    int value = -amplitude;
    if (n < amplitude) {
        const int step = amplitude / n;
        for (int j = 0; j < count; ++j) {
            offsets[static_cast<size_t>(j)] = value;
            value += j < n ? step : -step;
        }
    } else {
        const int every = n / amplitude;
        int counter = 0;
        for (int j = 0; j < count; ++j) {
            offsets[static_cast<size_t>(j)] = value;
            if (++counter >= every) {
                counter = 0;
                value += j < n ? 1 : -1;
            }
        }
    }
    return offsets;
}

} // namespace

void blendRect(QImage &frame, const QImage &pic, int percent, const QRect &rect) {
    const QRect r = rect & frame.rect() & pic.rect();
    if (r.isEmpty())
        return;
    const std::uint32_t a =
        static_cast<std::uint32_t>(std::clamp(MulDiv(256, percent, 100), 0, 256));
    for (int y = r.top(); y <= r.bottom(); ++y) {
        std::uint32_t *d = row(frame, y) + r.left();
        const std::uint32_t *n = row(pic, y) + r.left();
        for (int i = 0, e = r.width(); i < e; ++i)
            d[i] = blendPixel(d[i], n[i], a);
    }
}

void shadeColumns(QImage &frame, int amplitude, int first, int count, int rowTop, int rowBottom) {
    if (count <= 1 || amplitude <= 0 || frame.isNull())
        return;
    const std::vector<int> offsets = shadeProfile(amplitude, count);
    const int c0 = std::max(0, first);
    const int c1 =
        static_cast<int>(std::min<long long>(frame.width(), static_cast<long long>(first) + count));
    if (c0 >= c1)
        return;
    for (int y = std::max(0, rowTop), h = std::min(frame.height(), rowBottom); y < h; ++y) {
        std::uint32_t *d = row(frame, y);
        for (int c = c0; c < c1; ++c)
            d[c] = shadePixel(d[c], offsets[static_cast<size_t>(c - first)]);
    }
}

void shadeRows(QImage &frame, int amplitude, int first, int count, int rowTop, int rowBottom) {
    if (count <= 1 || amplitude <= 0 || frame.isNull())
        return;
    const std::vector<int> offsets = shadeProfile(amplitude, count);
    const int last = first + count - 1;
    for (int j = 0; j < count; ++j) {
        const int y = last - j;
        if (y < std::max(0, rowTop) || y >= std::min(frame.height(), rowBottom))
            continue;
        const int offset = offsets[static_cast<size_t>(j)];
        std::uint32_t *d = row(frame, y);
        for (int x = 0, w = frame.width(); x < w; ++x)
            d[x] = shadePixel(d[x], offset);
    }
}

namespace {

long long floorDiv(long long a, long long b) { // b > 0
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
long long ceilDiv(long long a, long long b) { // b > 0
    return -floorDiv(-a, b);
}

// Narrows [x0, x1) to the x for which lo <= a + b*x < hi.
void narrow(long long a, long long b, long long lo, long long hi, long long &x0, long long &x1) {
    if (b == 0) {
        if (a < lo || a >= hi)
            x1 = x0;
        return;
    }
    if (b > 0) {
        x0 = std::max(x0, ceilDiv(lo - a, b));
        x1 = std::min(x1, floorDiv(hi - 1 - a, b) + 1);
    } else {
        x0 = std::max(x0, ceilDiv(a - hi + 1, -b));
        x1 = std::min(x1, floorDiv(a - lo, -b) + 1);
    }
}

} // namespace

void rotateImage(QImage &frame, const QImage &pic, QPoint pivot, double degrees) {
    const int W = frame.width(), H = frame.height(), PW = pic.width(), PH = pic.height();
    if (W <= 0 || H <= 0 || PW <= 0 || PH <= 0)
        return;
    const double rad = degrees * M_PI / 180.0;
    const long long S = static_cast<long long>(std::sin(rad) * 65536.0);
    const long long C = static_cast<long long>(std::cos(rad) * 65536.0);
    const long long px = pivot.x(), py = pivot.y();
    const long long uLo = -px * 65536, uHi = (PW - px) * 65536;
    const long long vLo = -py * 65536, vHi = (PH - py) * 65536;
    for (int y = 0; y < H; ++y) {
        const long long dy = y - py;
        // Source offsets from the pivot, turned back: u = dx*C - dy*S, v = dx*S + dy*C.
        const long long au = -px * C - dy * S, av = -px * S + dy * C;
        long long x0 = 0, x1 = W;
        narrow(au, C, uLo, uHi, x0, x1);
        narrow(av, S, vLo, vHi, x0, x1);
        if (x0 >= x1)
            continue;
        std::uint32_t *d = row(frame, y);
        const uchar *base = pic.constBits();
        const qsizetype bpl = pic.bytesPerLine();
        long long u = au + C * x0, v = av + S * x0;
        for (long long x = x0; x < x1; ++x, u += C, v += S) {
            const long long sxx = px + (u >> 16), syy = py + (v >> 16);
            d[x] = reinterpret_cast<const std::uint32_t *>(base + syy * bpl)[sxx];
        }
    }
}

} // namespace kalmo::transitions
