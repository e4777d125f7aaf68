#pragma once

#include "transitions/regions/span_region.h"

namespace kalmo::transitions::regions {

// Interleaved bars of thickness min(W, H) div 50 + 1: hk picks horizontal bars driven by px,
// vk vertical bars driven by py (0 = none). Past W (or H) the first set is complete and the
// second set grows.
SpanRegion CreateBarRegion(int px, int py, int W, int H, int hk, int vk);

} // namespace kalmo::transitions::regions
