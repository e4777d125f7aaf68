#include "transitions/pacing.h"

#include "transitions/blit.h"

#include <algorithm>
#include <climits>

namespace kalmo::transitions {

int nextProgress(int progress, const Pacing &pacing, std::uint32_t elapsedMs) {
    int step = pacing.step;
    // Without a period there is nothing to scale by: a Delay of 0 keeps the plain step (the
    // scaled one would be 0 for ever and the transition would never end).
    if (pacing.exactTiming && pacing.delay > 0)
        step = MulDiv(pacing.step, static_cast<int>(std::min<std::uint32_t>(elapsedMs, INT_MAX)),
                      pacing.delay);
    const int next = !pacing.reverse ? (progress < 100 - step ? progress + step : 100)
                                     : (step < progress ? progress - step : 0);
    return std::clamp(next, 0, 100);
}

} // namespace kalmo::transitions
