#include "transitions/regions/region_effect.h"

#include <algorithm>

namespace kalmo::transitions::regions {

void drawThroughRegion(EffectFrame &frame, int style, RegionBuilder builder) {
    if (!builder)
        return;
    // Never reach past either bitmap, whatever size the caller claims.
    const int w = std::min({frame.w, frame.display.width(), frame.pic.width()});
    const int h = std::min({frame.h, frame.display.height(), frame.pic.height()});
    if (w <= 0 || h <= 0)
        return;
    const RegionContext context{
        style, w, h, frame.x, frame.y, frame.progress, frame.transitionSeed, frame.random};
    copyThrough(frame.display, frame.pic, builder(context));
}

} // namespace kalmo::transitions::regions
