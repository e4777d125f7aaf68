#pragma once

#include "transitions/effect.h"

namespace kalmo::transitions {

// Effect procedure of a style of the Region family (style_info.h);
// nullptr for any other style number or a region style not drawn yet.
EffectProc regionEffect(int style);

} // namespace kalmo::transitions
