#pragma once

#include "core/clock.h"
#include "core/idle_clock.h"
#include "power/display_schedule.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace kalmo::power {

// Decides when the kiosk sleeps: outside the scheduled hours, unless something holds it
// awake (an urgent notice, an open settings dialog) or a touch woke it for a while.
//
// check() runs at every schedule edge (and at least once a minute, so a clock set anew is
// followed), and every second while only a touch or a hold keeps the kiosk awake.
class PowerController : public QObject {
    Q_OBJECT
public:
    PowerController(const core::Clock &clock, core::IdleClock &idle, QObject *parent = nullptr);

    void setSchedule(const DisplaySchedule &schedule);
    void setDayOffTest(DayOffTest dayOff);
    // Seconds without input after which a kiosk woken by a touch sleeps again (`page`).
    void setWakeSeconds(std::function<int()> seconds);
    // Asked at every check: while it answers true the kiosk stays awake (the settings dialog).
    void setKeepAwake(std::function<bool()> keepAwake);

    // An urgent notice stands: awake for as long as it does.
    void setHeldAwake(bool held);
    // A touch, click or key while asleep: awake for the idle timeout from now.
    void wokenByInput();

    bool asleep() const { return m_asleep; }
    // Decides now; also the timer's handler.
    void check();

signals:
    void asleepChanged(bool asleep);

private:
    bool scheduledAwake() const;
    void setAsleep(bool asleep);
    void planNextCheck(bool scheduled);

    const core::Clock &m_clock;
    core::IdleClock &m_idle;
    DisplaySchedule m_schedule;
    DayOffTest m_dayOff;
    std::function<int()> m_wakeSeconds;
    std::function<bool()> m_keepAwake;
    bool m_held = false;
    bool m_wokenByInput = false; // awake off-hours until the idle timeout
    bool m_asleep = false;
    QTimer m_timer{this};
};

} // namespace kalmo::power
