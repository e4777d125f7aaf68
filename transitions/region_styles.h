#pragma once

#include "transitions/effect.h"

namespace kalmo::transitions {

// Effect procedure of a region-shaped style (58-118, 124-128, 137-167);
// nullptr for any other style number or a region style not drawn yet.
EffectProc regionEffect(int style);

} // namespace kalmo::transitions
