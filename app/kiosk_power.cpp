#include "app/kiosk_power.h"

#include "admin/access_window.h"
#include "admin/password_dlg.h"
#include "admin/settings_dialog.h"
#include "app/main_window.h"
#include "app/overlay_stack.h"
#include "calendar/calendar_editor.h"
#include "calendar/calendar_file.h"
#include "calendar/calendar_window.h"
#include "core/log.h"
#include "photo/photo_window.h"
#include "power/screen_saver_inhibitor.h"
#include "power/sleep_cover.h"
#include "power/x11_display.h"
#include "schedule/schedule_window.h"
#include "video/video_window.h"
#include "web/form_browser.h"

#include <QDBusConnection>
#include <QFileInfo>
#include <QGuiApplication>

namespace kalmo::app {

namespace {

// Checked again at least this often, so that a clock set anew still meets midnight.
constexpr qint64 kLongestMidnightWaitMs = 60 * 60 * 1000;

} // namespace

KioskPower::KioskPower(Parts parts, QObject *parent)
    : QObject(parent), m_p(parts), m_controller(parts.clock, parts.idle) {
    m_cover = std::make_unique<power::SleepCover>(m_p.overlays.host());
    m_cover->setGeometry(m_p.overlays.host()->rect());
    m_p.overlays.add(m_cover.get(), OverlayStack::Layer::Top);
    if (m_p.desktop) {
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            m_x11 = std::make_unique<power::X11Display>();
            m_x11->start();
            m_x11->setAwake(true);
        }
        m_inhibitor = std::make_unique<power::ScreenSaverInhibitor>(QDBusConnection::sessionBus());
        m_inhibitor->setInhibited(true);
    }
    m_controller.setDayOffTest([this](const QDate &day) { return isDayOff(day); });
    m_controller.setWakeSeconds([this] { return m_p.values.pageSeconds; });
    m_controller.setKeepAwake([this] { return settingsOpen(); });
    connect(&m_controller, &power::PowerController::asleepChanged, this, [this](bool asleep) {
        if (asleep)
            sleep();
        else
            wake();
        emit asleepChanged(asleep);
    });
    connect(&m_wakeFilter, &power::WakeFilter::woken, &m_controller,
            &power::PowerController::wokenByInput);
    m_midnight.setSingleShot(true);
    connect(&m_midnight, &QTimer::timeout, this, [this] {
        if (m_p.clock.now().date() != m_readOn)
            readDaysOff();
        planMidnight();
    });
    // The calendar may have been edited.
    for (QDialog *admin :
         std::initializer_list<QDialog *>{m_p.windows.form3, m_p.windows.formCalendarSetting})
        if (admin)
            connect(admin, &QDialog::finished, this, &KioskPower::readDaysOff);
    m_controller.setSchedule(
        power::readDisplaySchedule(m_p.values.powerOn, m_p.values.powerOff, m_p.values.powerDays));
    readDaysOff();
    planMidnight();
    // The first decision once the event loop runs, when the window is on screen.
    QTimer::singleShot(0, &m_controller, &power::PowerController::check);
}

KioskPower::~KioskPower() = default;

QWidget *KioskPower::cover() const {
    return m_cover.get();
}

void KioskPower::setHeldAwake(bool held) {
    m_controller.setHeldAwake(held);
}

bool KioskPower::isDayOff(const QDate &day) const {
    return m_daysOff.contains(day);
}

void KioskPower::reload() {
    m_controller.setSchedule(
        power::readDisplaySchedule(m_p.values.powerOn, m_p.values.powerOff, m_p.values.powerDays));
    readDaysOff();
    m_controller.check();
}

// On a worker: the settings folder may be a share that does not answer.
void KioskPower::readDaysOff() {
    const bool started = m_daysOffRead.start(
        [values = m_p.values]() -> std::optional<calendar::DaysOff> {
            const QString folder = calendar::screenDataFolder(values);
            // An unreachable folder keeps the days in force; a missing file has none.
            if (!QFileInfo(folder).isDir())
                return std::nullopt;
            return calendar::readDaysOff(folder + calendar::calendarFileName());
        },
        [this](const std::optional<calendar::DaysOff> &days) {
            if (days)
                m_daysOff = *days;
            if (std::exchange(m_readAgain, false))
                readDaysOff();
            m_controller.check();
        });
    if (started)
        m_readOn = m_p.clock.now().date();
    else
        m_readAgain = true; // once the read under way is in
}

void KioskPower::planMidnight() {
    const QDateTime now = m_p.clock.now();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
    m_midnight.start(
        int(std::clamp<qint64>(now.msecsTo(midnight) + 1000, 1000, kLongestMidnightWaitMs)));
}

bool KioskPower::settingsOpen() const {
    // The calendar editor is the settings dialog's calendar page in a window of its own.
    for (const QWidget *w :
         std::initializer_list<const QWidget *>{m_p.windows.form3, m_p.windows.formCalendarSetting})
        if (w && w->isVisible())
            return true;
    return false;
}

// The screens close as their idle timeouts would close them, the topmost first.
void KioskPower::closeScreens() {
    const WindowSet &w = m_p.windows;
    for (QWidget *screen :
         std::initializer_list<QWidget *>{w.passwordDlg, w.form4, w.formBrowser, w.formCalendar,
                                          w.myRaspisanie, w.form5, w.form6})
        if (screen && screen->isVisible())
            screen->close();
}

void KioskPower::sleep() {
    closeScreens();
    m_p.form.setAsleep(true);
    if (schedule::TMyRaspisanie *s = m_p.windows.myRaspisanie) {
        s->clockTimer()->stop();
        s->countdownTimer()->stop();
    }
    m_cover->show();
    m_cover->raise();
    m_wakeFilter.setArmed(true);
    if (m_x11)
        m_x11->setAwake(false);
    if (m_inhibitor)
        m_inhibitor->setInhibited(false);
}

void KioskPower::wake() {
    m_wakeFilter.setArmed(false);
    if (m_x11)
        m_x11->setAwake(true);
    if (m_inhibitor)
        m_inhibitor->setInhibited(true);
    m_p.form.setAsleep(false);
    if (schedule::TMyRaspisanie *s = m_p.windows.myRaspisanie) {
        s->onClockTick();
        s->onCountdownTick();
        s->clockTimer()->start();
        s->countdownTimer()->start();
    }
    m_cover->hide();
    if (m_p.form.isVisible())
        m_p.form.activateWindow();
}

} // namespace kalmo::app
