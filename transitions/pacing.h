#pragma once

#include <cstdint>

namespace kalmo::transitions {

// How a running transition moves its progress: `step` points per tick of `delay` ms, or with
// exact timing the step scaled by the time that really passed.
struct Pacing {
    int step = 4;
    int delay = 40;
    bool exactTiming = false;
    bool reverse = false;
};

// The progress one tick after `progress`, `elapsedMs` after the previous tick (0..100).
int nextProgress(int progress, const Pacing &pacing, std::uint32_t elapsedMs);

// True when `progress` is where a transition running that way ends.
constexpr bool isFinalProgress(int progress, bool reverse) {
    return reverse ? progress == 0 : progress == 100;
}

} // namespace kalmo::transitions
