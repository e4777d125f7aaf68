#include "transitions/regions/span_region.h"

#include <algorithm>
#include <cstring>

namespace kalmo::transitions::regions {

SpanRegion::SpanRegion(int w, int h)
    : m_w(std::max(0, w)), m_h(std::max(0, h)), m_rowStart(std::size_t(m_h) + 1, 0) {}

SpanRegion SpanRegion::fullFrame(int w, int h) {
    SpanRegion r(w, h);
    if (r.m_w == 0)
        return r;
    r.m_spans.assign(std::size_t(r.m_h), Span{0, r.m_w});
    for (int y = 0; y <= r.m_h; ++y)
        r.m_rowStart[std::size_t(y)] = y;
    return r;
}

std::span<const Span> SpanRegion::row(int y) const {
    if (y < 0 || y >= m_h)
        return {};
    const auto begin = std::size_t(m_rowStart[std::size_t(y)]);
    const auto end = std::size_t(m_rowStart[std::size_t(y) + 1]);
    return {m_spans.data() + begin, end - begin};
}

bool SpanRegion::contains(int x, int y) const {
    for (const Span &s : row(y))
        if (x >= s.x0 && x < s.x1)
            return true;
    return false;
}

std::int64_t SpanRegion::area() const {
    std::int64_t sum = 0;
    for (const Span &s : m_spans)
        sum += s.x1 - s.x0;
    return sum;
}

SpanRegion SpanRegion::united(const SpanRegion &other) const {
    return combined(other, Op::Union);
}

SpanRegion SpanRegion::intersected(const SpanRegion &other) const {
    return combined(other, Op::Intersect);
}

SpanRegion SpanRegion::xored(const SpanRegion &other) const {
    return combined(other, Op::Xor);
}

namespace {

// The n-th boundary of a row: span starts at even, span ends at odd positions.
inline int edge(std::span<const Span> spans, std::size_t i) {
    const Span &s = spans[i / 2];
    return (i & 1) ? s.x1 : s.x0;
}

} // namespace

SpanRegion SpanRegion::combined(const SpanRegion &other, Op op) const {
    SpanRegion out(m_w, m_h);
    out.m_spans.reserve(m_spans.size() + other.m_spans.size());
    for (int y = 0; y < m_h; ++y) {
        out.m_rowStart[std::size_t(y)] = int(out.m_spans.size());
        const auto a = row(y);
        const auto b = other.row(y);
        const std::size_t na = a.size() * 2;
        const std::size_t nb = b.size() * 2;
        std::size_t i = 0;
        std::size_t j = 0;
        bool inA = false;
        bool inB = false;
        bool inOut = false;
        int start = 0;
        while (i < na || j < nb) {
            int x = i < na ? edge(a, i) : edge(b, j);
            if (j < nb)
                x = std::min(x, edge(b, j));
            while (i < na && edge(a, i) == x) {
                inA = !inA;
                ++i;
            }
            while (j < nb && edge(b, j) == x) {
                inB = !inB;
                ++j;
            }
            bool in = false;
            switch (op) {
            case Op::Union:
                in = inA || inB;
                break;
            case Op::Intersect:
                in = inA && inB;
                break;
            case Op::Xor:
                in = inA != inB;
                break;
            }
            if (in && !inOut)
                start = x;
            else if (!in && inOut)
                out.m_spans.push_back({start, x});
            inOut = in;
        }
    }
    out.m_rowStart[std::size_t(m_h)] = int(out.m_spans.size());
    return out;
}

SpanBuilder::SpanBuilder(int w, int h) : m_w(std::max(0, w)), m_h(std::max(0, h)) {}

void SpanBuilder::addRect(int left, int top, int right, int bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_w);
    bottom = std::min(bottom, m_h);
    if (right <= left || bottom <= top)
        return;
    m_rects.push_back({left, top, right, bottom});
}

void SpanBuilder::addSpan(int y, int x0, int x1) {
    if (y < 0 || y >= m_h)
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_w);
    if (x1 > x0)
        m_raw.push_back({y, x0, x1});
}

SpanRegion SpanBuilder::build() const {
    if (m_rects.empty())
        return buildSpans();
    if (m_raw.empty())
        return buildRects();
    return buildRects().united(buildSpans());
}

// Rectangles are swept band by band: between two consecutive top or bottom edges the set of
// rectangles crossing a row does not change, so its spans are merged once and repeated for
// every row of the band. Tall, narrow rectangles (column shreds) stay cheap that way.
SpanRegion SpanBuilder::buildRects() const {
    SpanRegion out(m_w, m_h);
    // Rows are bounded by the frame, so edges and rectangles are bucketed by row, not sorted.
    std::vector<char> isEdge(std::size_t(m_h) + 1, 0);
    std::vector<int> startsAt(std::size_t(m_h) + 1, 0);
    for (const Rect &r : m_rects) {
        isEdge[std::size_t(r.top)] = 1;
        isEdge[std::size_t(r.bottom)] = 1;
        ++startsAt[std::size_t(r.top) + 1];
    }
    std::vector<int> edges;
    for (int e = 0; e <= m_h; ++e)
        if (isEdge[std::size_t(e)])
            edges.push_back(e);
    for (int e = 0; e < m_h; ++e)
        startsAt[std::size_t(e) + 1] += startsAt[std::size_t(e)];
    std::vector<Rect> byTop(m_rects.size());
    for (const Rect &r : m_rects)
        byTop[std::size_t(startsAt[std::size_t(r.top)]++)] = r;

    auto next = byTop.begin();
    std::vector<Rect> active; // sorted by left
    std::vector<Span> band;
    int y = 0;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int bandTop = edges[i];
        const int bandBottom = edges[i + 1];
        std::erase_if(active, [&](const Rect &r) { return r.bottom <= bandTop; });
        // Newcomers are sorted among themselves and merged in: many rectangles often start
        // on the same row (a row of specks), where one insertion each would be quadratic.
        const auto firstNew = byTop.begin() + (next - byTop.begin());
        while (next != byTop.end() && next->top <= bandTop)
            ++next;
        if (firstNew != next) {
            const auto oldCount = active.size();
            active.insert(active.end(), firstNew, next);
            const auto mid = active.begin() + std::ptrdiff_t(oldCount);
            const auto byLeft = [](const Rect &l, const Rect &r) { return l.left < r.left; };
            std::sort(mid, active.end(), byLeft);
            std::inplace_merge(active.begin(), mid, active.end(), byLeft);
        }
        band.clear();
        for (const Rect &r : active) {
            if (!band.empty() && r.left <= band.back().x1)
                band.back().x1 = std::max(band.back().x1, r.right);
            else
                band.push_back({r.left, r.right});
        }
        for (; y < bandBottom; ++y) {
            out.m_rowStart[std::size_t(y)] = int(out.m_spans.size());
            if (y >= bandTop)
                out.m_spans.insert(out.m_spans.end(), band.begin(), band.end());
        }
    }
    for (; y <= m_h; ++y)
        out.m_rowStart[std::size_t(y)] = int(out.m_spans.size());
    return out;
}

SpanRegion SpanBuilder::buildSpans() const {
    SpanRegion out(m_w, m_h);
    if (m_raw.empty())
        return out;

    // Counting sort by row, then sort and merge within each row.
    std::vector<int> start(std::size_t(m_h) + 1, 0);
    for (const RawSpan &r : m_raw)
        ++start[std::size_t(r.y) + 1];
    for (int y = 0; y < m_h; ++y)
        start[std::size_t(y) + 1] += start[std::size_t(y)];
    std::vector<Span> sorted(m_raw.size());
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (const RawSpan &r : m_raw)
        sorted[std::size_t(fill[std::size_t(r.y)]++)] = {r.x0, r.x1};

    out.m_spans.reserve(m_raw.size());
    for (int y = 0; y < m_h; ++y) {
        out.m_rowStart[std::size_t(y)] = int(out.m_spans.size());
        auto first = sorted.begin() + start[std::size_t(y)];
        auto last = sorted.begin() + start[std::size_t(y) + 1];
        if (first == last)
            continue;
        if (last - first > 1)
            std::sort(first, last, [](const Span &l, const Span &r) { return l.x0 < r.x0; });
        Span cur = *first;
        for (auto it = first + 1; it != last; ++it) {
            if (it->x0 <= cur.x1) {
                cur.x1 = std::max(cur.x1, it->x1);
            } else {
                out.m_spans.push_back(cur);
                cur = *it;
            }
        }
        out.m_spans.push_back(cur);
    }
    out.m_rowStart[std::size_t(m_h)] = int(out.m_spans.size());
    return out;
}

void copyThrough(QImage &display, const QImage &pic, const SpanRegion &region) {
    if (region.isEmpty() || display.depth() != 32 || pic.depth() != 32)
        return;
    const int w = std::min({region.width(), display.width(), pic.width()});
    const int h = std::min({region.height(), display.height(), pic.height()});
    if (w <= 0 || h <= 0)
        return;
    uchar *dst = display.bits();
    const uchar *src = pic.constBits();
    const qsizetype dstStride = display.bytesPerLine();
    const qsizetype srcStride = pic.bytesPerLine();
    for (int y = 0; y < h; ++y) {
        auto *d = reinterpret_cast<std::uint32_t *>(dst + y * dstStride);
        const auto *s = reinterpret_cast<const std::uint32_t *>(src + y * srcStride);
        for (const Span &span : region.row(y)) {
            const int x1 = std::min(span.x1, w);
            if (x1 > span.x0)
                std::memcpy(d + span.x0, s + span.x0, std::size_t(x1 - span.x0) * 4);
        }
    }
}

} // namespace kalmo::transitions::regions
