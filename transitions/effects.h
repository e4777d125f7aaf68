#pragma once

#include "transitions/effect.h"

// The effect families drawn by this library (the region-shaped ones live in regions/).
namespace kalmo::transitions {

// Styles of the Move family (style_info.h); nullptr otherwise.
EffectProc moveEffect(int style);
// Styles of the Pixel family; nullptr otherwise.
EffectProc pixelEffect(int style);

} // namespace kalmo::transitions
