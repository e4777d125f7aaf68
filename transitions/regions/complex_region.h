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

} // namespace kalmo::transitions::regions
