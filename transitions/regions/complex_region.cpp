#include "transitions/regions/complex_region.h"

#include <algorithm>
#include <limits>

namespace kalmo::transitions::regions {

void TComplexRegion::Clear() {
    // Assigning {} would keep the old block; a cleared collector holds none.
    std::vector<Rect>().swap(m_rects);
    constexpr int big = std::numeric_limits<int>::max();
    m_bounds = {big, big, -big, -big};
}

void TComplexRegion::AddRect(int left, int top, int right, int bottom) {
    if (m_rects.size() == m_rects.capacity())
        m_rects.reserve(m_rects.capacity() + Growth);
    m_rects.push_back({left, top, right, bottom});
    m_bounds.left = std::min(m_bounds.left, left);
    m_bounds.top = std::min(m_bounds.top, top);
    m_bounds.right = std::max(m_bounds.right, right);
    m_bounds.bottom = std::max(m_bounds.bottom, bottom);
}

std::optional<SpanRegion> TComplexRegion::CreateRegion(int w, int h) const {
    if (m_rects.empty())
        return std::nullopt;
    SpanBuilder builder(w, h);
    for (const Rect &r : m_rects)
        builder.addRect(r.left, r.top, r.right, r.bottom);
    return builder.build();
}

} // namespace kalmo::transitions::regions
