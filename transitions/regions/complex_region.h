#pragma once

#include "transitions/regions/span_region.h"

#include <optional>
#include <vector>

namespace kalmo::transitions::regions {

// Collects rectangles (left, top, right, bottom; right and bottom outside) and turns them
// into one region. Rectangles are stored as given: an inverted one simply covers nothing.
class TComplexRegion {
public:
    struct Rect {
        int left;
        int top;
        int right;
        int bottom;
    };

    TComplexRegion() { Clear(); }

    void Clear();
    void AddRect(int left, int top, int right, int bottom);

    // The region of all rectangles clipped to a w x h frame; none while nothing was added.
    std::optional<SpanRegion> CreateRegion(int w, int h) const;

    int Count() const { return int(m_rects.size()); }
    int Capacity() const { return int(m_rects.capacity()); }
    const Rect &Bounds() const { return m_bounds; }

private:
    static constexpr int Growth = 500;
    std::vector<Rect> m_rects;
    Rect m_bounds{};
};

// Adds rectangles in the terms of a direction, so that a shape is written once for rows and
// columns: `along` is the axis the shape grows on, `across` the other one (for rows along is
// x and across is y; for columns the other way round).
class OrientedRects {
public:
    OrientedRects(TComplexRegion &region, bool rows) : m_region(region), m_rows(rows) {}
    void add(int along0, int across0, int along1, int across1) {
        if (m_rows)
            m_region.AddRect(along0, across0, along1, across1);
        else
            m_region.AddRect(across0, along0, across1, along1);
    }

private:
    TComplexRegion &m_region;
    bool m_rows;
};

} // namespace kalmo::transitions::regions
