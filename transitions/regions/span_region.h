#pragma once

#include <QImage>
#include <cstdint>
#include <span>
#include <vector>

namespace kalmo::transitions::regions {

// A horizontal run of pixels [x0, x1) on one row.
struct Span {
    int x0 = 0;
    int x1 = 0;
};

// A region clipped to a w x h frame, kept as sorted, disjoint spans per row, so that
// boolean operations are simple row merges and copying through it is one memcpy per span.
class SpanRegion {
public:
    SpanRegion() = default;
    SpanRegion(int w, int h); // empty region of a w x h frame

    static SpanRegion fullFrame(int w, int h);

    int width() const { return m_w; }
    int height() const { return m_h; }
    bool isEmpty() const { return m_spans.empty(); }
    std::span<const Span> row(int y) const;
    bool contains(int x, int y) const;
    std::int64_t area() const;

    SpanRegion united(const SpanRegion &other) const;
    SpanRegion intersected(const SpanRegion &other) const;
    SpanRegion xored(const SpanRegion &other) const;

private:
    friend class SpanBuilder;
    enum class Op { Union, Intersect, Xor };
    SpanRegion combined(const SpanRegion &other, Op op) const;

    int m_w = 0;
    int m_h = 0;
    std::vector<int> m_rowStart; // h + 1 offsets into m_spans
    std::vector<Span> m_spans;
};

// Collects spans that may overlap and arrive in any order, then sorts and merges them
// into a SpanRegion (their union). Everything is clipped to the frame on the way in.
class SpanBuilder {
public:
    SpanBuilder(int w, int h);

    int width() const { return m_w; }
    int height() const { return m_h; }

    // Rectangle with right and bottom edges outside; an inverted one covers nothing.
    void addRect(int left, int top, int right, int bottom);
    void addSpan(int y, int x0, int x1);
    bool isEmpty() const { return m_raw.empty() && m_rects.empty(); }

    SpanRegion build() const;

private:
    struct RawSpan {
        int y;
        int x0;
        int x1;
    };
    struct Rect {
        int left;
        int top;
        int right;
        int bottom;
    };
    SpanRegion buildRects() const;
    SpanRegion buildSpans() const;

    int m_w;
    int m_h;
    std::vector<RawSpan> m_raw;
    std::vector<Rect> m_rects; // clipped and non-empty
};

// Copies the new picture into the frame wherever the region covers it.
void copyThrough(QImage &display, const QImage &pic, const SpanRegion &region);

} // namespace kalmo::transitions::regions
