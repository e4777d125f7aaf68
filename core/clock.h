#pragma once

#include <QDateTime>
#include <cstdint>

namespace kalmo::core {

// Wall time and the 32-bit millisecond tick, injectable so that time-dependent logic is
// tested with one call instead of waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32 like a system tick count.
    virtual std::uint32_t tickMs() const = 0;
};

// The real clock.
class SystemClock : public Clock {
public:
    QDateTime now() const override;
    std::uint32_t tickMs() const override;
};

// The real clock set to another time of day, for trying the program out at night (the tick
// stays the real one).
class ShiftedClock : public Clock {
public:
    explicit ShiftedClock(const QDateTime &now);
    QDateTime now() const override;
    std::uint32_t tickMs() const override { return m_real.tickMs(); }

private:
    SystemClock m_real;
    qint64 m_offsetMs;
};

// A clock that only moves when told to.
class ManualClock : public Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(12, 0)),
                         std::uint32_t tick = 0)
        : m_now(std::move(start)), m_tick(tick) {}
    QDateTime now() const override { return m_now; }
    std::uint32_t tickMs() const override { return m_tick; }
    void setNow(const QDateTime &now) { m_now = now; }
    void setTick(std::uint32_t tick) { m_tick = tick; }
    // Moves both the wall time and the tick (the tick wraps).
    void advanceMs(std::int64_t ms) {
        m_now = m_now.addMSecs(ms);
        m_tick = static_cast<std::uint32_t>(m_tick + static_cast<std::uint32_t>(ms));
    }

private:
    QDateTime m_now;
    std::uint32_t m_tick;
};

} // namespace kalmo::core
