#pragma once

#include "app/window_set.h"
#include "calendar/days_off.h"
#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/program_values.h"
#include "core/worker_read.h"
#include "power/power_controller.h"
#include "power/wake_filter.h"

#include <QDate>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <memory>
#include <optional>

namespace kalmo::power {
class ScreenSaverInhibitor;
class SleepCover;
class X11Display;
} // namespace kalmo::power

namespace kalmo::app {

class OverlayStack;
class TForm1;

// The display schedule at work: the kiosk sleeps outside its hours (screens closed, nothing
// moving, the display off or black), a touch wakes it for the idle timeout, and while awake
// the desktop may not blank the screen.
class KioskPower : public QObject {
    Q_OBJECT
public:
    struct Parts {
        TForm1 &form;
        const WindowSet &windows;
        const core::ProgramValues &values;
        const core::Clock &clock;
        core::IdleClock &idle;
        OverlayStack &overlays; // the cover goes on top of them
        // The display's power and the desktop's blanking are the kiosk's (the program; tests
        // leave them alone).
        bool desktop = false;
    };

    explicit KioskPower(Parts parts, QObject *parent = nullptr);
    ~KioskPower() override;
    KioskPower(const KioskPower &) = delete;
    KioskPower &operator=(const KioskPower &) = delete;

    // An urgent notice stands: awake for as long as it does.
    void setHeldAwake(bool held);
    bool asleep() const { return m_controller.asleep(); }
    // A day without lessons by the calendar file, as last read.
    bool isDayOff(const QDate &day) const;

    // The [power] values in force and the calendar file are taken up again (after a re-read).
    void reload();

    power::PowerController &controller() { return m_controller; }
    power::WakeFilter &wakeFilter() { return m_wakeFilter; }
    QWidget *cover() const;

signals:
    void asleepChanged(bool asleep);

private:
    void sleep();
    void wake();
    void closeScreens();
    bool settingsOpen() const;
    void readDaysOff();
    void planMidnight();

    Parts m_p;
    power::PowerController m_controller;
    power::WakeFilter m_wakeFilter;
    std::unique_ptr<power::SleepCover> m_cover;
    std::unique_ptr<power::X11Display> m_x11;
    std::unique_ptr<power::ScreenSaverInhibitor> m_inhibitor;
    calendar::DaysOff m_daysOff;
    core::WorkerRead<std::optional<calendar::DaysOff>> m_daysOffRead;
    bool m_readAgain = false;
    QDate m_readOn; // the day the calendar file was last read
    QTimer m_midnight;
};

} // namespace kalmo::app
