#pragma once

#include "core/random.h"
#include "transitions/regions/span_region.h"

namespace kalmo::transitions::regions {

// Thin strips of random length around the front px (rows, hk) or py (columns, vk); drawn
// afresh each call, so the ragged edge changes from frame to frame.
SpanRegion CreateShredRegion(int px, int py, int W, int H, int hk, int vk, core::Random &random);

} // namespace kalmo::transitions::regions
