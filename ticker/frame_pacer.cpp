#include "ticker/frame_pacer.h"

#include <algorithm>
#include <cmath>

namespace kalmo::ticker {

namespace {
constexpr double kRebaseMs = 1u << 30;
// A period like 1000/60 ms is not exact in binary; frame boundaries must not slip.
constexpr double kEpsilon = 1e-6;
} // namespace

void FramePacer::start(double periodMs) {
    m_periodMs = std::max(periodMs, 1.0);
    m_startTick = m_clock.tickMs();
    m_framesDone = 0;
}

std::int64_t FramePacer::elapsedMs() const {
    // The tick wraps at 2^32; the unsigned difference does not care.
    return static_cast<std::uint32_t>(m_clock.tickMs() - m_startTick);
}

int FramePacer::framesDue() {
    const auto total = static_cast<std::int64_t>(std::floor(elapsedMs() / m_periodMs + kEpsilon));
    const std::int64_t due = total - m_framesDone;
    if (due <= 0)
        return 0;
    m_framesDone = total;
    if (m_framesDone * m_periodMs > kRebaseMs) {
        // Move the start forward long before the 32-bit tick difference could wrap
        // (costs under a millisecond of phase every few days).
        const auto whole = static_cast<std::int64_t>(m_framesDone * m_periodMs);
        m_startTick += static_cast<std::uint32_t>(whole);
        m_framesDone = 0;
    }
    if (due > kMaxCatchUp) {
        // Begin a fresh schedule so the elapsed count stays far from the tick's wrap.
        start(m_periodMs);
        return 1;
    }
    return static_cast<int>(due);
}

int FramePacer::msUntilNext() const {
    const double next = std::ceil((m_framesDone + 1) * m_periodMs - kEpsilon);
    return static_cast<int>(
        std::max<std::int64_t>(0, static_cast<std::int64_t>(next) - elapsedMs()));
}

} // namespace kalmo::ticker
