#pragma once

#include "transitions/effect.h"

// The effect families drawn by this library (the region-shaped ones live in regions/).
namespace kalmo::transitions {

// Moving, stretching, rolling and pushing styles (1-57, 129-136, 173-176); nullptr otherwise.
EffectProc moveEffect(int style);
// Pixel-mixing and rotating styles (119-123, 168-172); nullptr otherwise.
EffectProc pixelEffect(int style);

} // namespace kalmo::transitions
