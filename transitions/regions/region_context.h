#pragma once

#include "core/random.h"
#include "transitions/blit.h"
#include "transitions/regions/span_region.h"

#include <cstdint>

namespace kalmo::transitions::regions {

// What a region style builds its shape from: the frame's size and progress values.
struct RegionContext {
    int style = 0;
    int w = 0;
    int h = 0;
    int x = 0;
    int y = 0;
    int p = 0;
    std::uint64_t transitionSeed = 0;
    core::Random &random;
};

// Builds the region that the new picture is copied through; empty = frame unchanged.
using RegionBuilder = SpanRegion (*)(const RegionContext &context);

} // namespace kalmo::transitions::regions
