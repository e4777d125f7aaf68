#pragma once

#include "core/clock.h"

#include <QObject>
#include <cstdint>

namespace kalmo::core {

// Whole seconds since the last key, mouse or touch input anywhere in the application.
// Installed once as an application-wide event filter; it never consumes an event.
class IdleClock : public QObject {
    Q_OBJECT
public:
    explicit IdleClock(const Clock &clock, QObject *parent = nullptr);

    // Idle seconds at the clock's current tick.
    std::uint32_t idleSeconds() const { return idleSecondsAt(m_clock.tickMs()); }
    // Idle seconds at a given tick; correct across the 32-bit wrap.
    std::uint32_t idleSecondsAt(std::uint32_t nowTick) const {
        return static_cast<std::uint32_t>(nowTick - m_lastInput) / 1000u;
    }
    // Records input now (also what the event filter does).
    void touch() { m_lastInput = m_clock.tickMs(); }

    static bool isInputEvent(int eventType);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const Clock &m_clock;
    std::uint32_t m_lastInput;
};

} // namespace kalmo::core
