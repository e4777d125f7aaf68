#include "ticker/scroll_motion.h"

#include <algorithm>
#include <limits>

namespace kalmo::ticker {

namespace {
// Room left below the limit so that position − step can never overflow.
constexpr std::int64_t kMaxWidth = std::numeric_limits<std::int32_t>::max() - 256;
} // namespace

std::int32_t estimatedTextWidth(std::int64_t characters, int pointSize) {
    if (characters <= 0 || pointSize <= 0)
        return 0;
    if (characters > kMaxWidth / pointSize)
        return static_cast<std::int32_t>(kMaxWidth);
    return static_cast<std::int32_t>(characters * pointSize);
}

std::int32_t startPosition(TScrollDirection direction, int surfaceWidth,
                           std::int32_t estimatedWidth) {
    return direction == sdRightToLeft ? surfaceWidth : -estimatedWidth;
}

std::int32_t nextPosition(std::int32_t scroll, TScrollDirection direction, std::uint8_t step,
                          std::int32_t estimatedWidth, int surfaceWidth) {
    // Positions far outside the band (a shrunk band, a changed text) are pulled back so
    // the arithmetic stays in range.
    const std::int64_t s = scroll;
    if (direction == sdRightToLeft) {
        const std::int64_t next = s - step;
        if (next < -static_cast<std::int64_t>(estimatedWidth))
            return surfaceWidth;
        return static_cast<std::int32_t>(std::min<std::int64_t>(next, kMaxWidth));
    }
    const std::int64_t next = s + step;
    // Leaves at the right edge of the band, as the leftward text leaves at the left edge.
    if (next > surfaceWidth)
        return -estimatedWidth;
    return static_cast<std::int32_t>(std::max<std::int64_t>(next, -kMaxWidth));
}

bool frameGate(std::uint8_t droppedFrames, int &counter) {
    if (droppedFrames > counter) {
        ++counter;
        return false;
    }
    counter = 0;
    return true;
}

} // namespace kalmo::ticker
