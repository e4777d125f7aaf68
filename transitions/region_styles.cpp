#include "transitions/region_styles.h"

namespace kalmo::transitions {

EffectProc regionEffect(int /*style*/) { return nullptr; }

} // namespace kalmo::transitions
