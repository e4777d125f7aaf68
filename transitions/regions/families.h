#pragma once

#include "transitions/regions/region_context.h"

namespace kalmo::transitions::regions {

// Each region family answers with its builder for the styles it draws, nullptr otherwise.
RegionBuilder roundedStyle(int style); // 58, 59, 69, 70, 80-85
RegionBuilder barStyle(int style);     // 60-64, 71-75, 86-99
RegionBuilder shredStyle(int style);   // 65-68, 76-79, 100-109
RegionBuilder speckleStyle(int style); // 124-127
RegionBuilder polygonStyle(int style); // 110-117, 154-163, 165-167
RegionBuilder gridStyle(int style);    // 118, 128, 143, 153, 164
RegionBuilder blindStyle(int style);   // 137-142, 146-149
RegionBuilder fanStyle(int style);     // 144, 145, 150-152

// The builder of any region style, nullptr for the others.
RegionBuilder regionBuilder(int style);

} // namespace kalmo::transitions::regions
