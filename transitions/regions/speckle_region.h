#pragma once

#include "core/random.h"
#include "transitions/regions/span_region.h"

namespace kalmo::transitions::regions {

// A solid front at px (rows, hk) or py (columns, vk) with squares scattered ahead of it:
// a square k steps ahead shows with probability 1/k (2/k close to the front). Drawn afresh
// each call.
SpanRegion CreateSpeckleRegion(int px, int py, int W, int H, int hk, int vk, core::Random &random);

} // namespace kalmo::transitions::regions
