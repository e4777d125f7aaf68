#pragma once

#include "core/clock.h"

#include <cstdint>

namespace kalmo::ticker {

// Keeps frame events on a fixed schedule measured from the start, so late timer ticks
// are made up for instead of slowing the text down, and rounding never drifts.
class FramePacer {
public:
    // A stall longer than this many frames (a suspended machine, a blocked loop) is not
    // made up for: the text resumes instead of jumping far ahead.
    static constexpr int kMaxCatchUp = 30;

    explicit FramePacer(const core::Clock &clock) : m_clock(clock) {}

    // Starts a new schedule at the current tick.
    void start(double periodMs);
    double periodMs() const { return m_periodMs; }

    // Frame events whose time has come since the last call (0 if none).
    int framesDue();
    // Milliseconds from now until the next frame event is due (0 if already due).
    int msUntilNext() const;

private:
    std::int64_t elapsedMs() const;

    const core::Clock &m_clock;
    double m_periodMs = 1000.0 / 60.0;
    std::uint32_t m_startTick = 0;
    std::int64_t m_framesDone = 0;
};

} // namespace kalmo::ticker
