#pragma once

#include "transitions/effect.h"
#include "transitions/regions/region_context.h"

namespace kalmo::transitions::regions {

// Builds the style's region for this frame and copies the new picture through it; the rest
// of the frame keeps the old picture.
void drawThroughRegion(EffectFrame &frame, int style, RegionBuilder builder);

} // namespace kalmo::transitions::regions
