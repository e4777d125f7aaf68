#pragma once

#include "core/random.h"
#include "transitions/regions/span_region.h"

#include <cstdint>
#include <cstdlib>

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

// round(a * b / c), halves away from zero (the shapes only divide by fixed non-zero values).
inline int mulDiv(int a, int b, int c) {
    if (c == 0)
        return 0;
    const std::int64_t num = std::int64_t(a) * b;
    const std::int64_t den = c;
    const std::int64_t q = (2 * std::llabs(num) + std::llabs(den)) / (2 * std::llabs(den));
    return int((num < 0) != (den < 0) ? -q : q);
}

} // namespace kalmo::transitions::regions
