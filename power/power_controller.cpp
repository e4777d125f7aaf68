#include "power/power_controller.h"

#include "core/log.h"

#include <algorithm>

namespace kalmo::power {

namespace {

// Long enough to cost nothing, short enough to follow a clock set anew within a minute.
constexpr qint64 kLongestWaitMs = 60 * 1000;
constexpr int kWokenCheckMs = 1000;

} // namespace

PowerController::PowerController(const core::Clock &clock, core::IdleClock &idle, QObject *parent)
    : QObject(parent), m_clock(clock), m_idle(idle) {
    m_timer.setObjectName(QStringLiteral("PowerTimer"));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &PowerController::check);
}

void PowerController::setSchedule(const DisplaySchedule &schedule) {
    m_schedule = schedule;
}

void PowerController::setDayOffTest(DayOffTest dayOff) {
    m_dayOff = std::move(dayOff);
}

void PowerController::setWakeSeconds(std::function<int()> seconds) {
    m_wakeSeconds = std::move(seconds);
}

void PowerController::setKeepAwake(std::function<bool()> keepAwake) {
    m_keepAwake = std::move(keepAwake);
}

void PowerController::setHeldAwake(bool held) {
    if (held == m_held)
        return;
    m_held = held;
    // Once the notice goes, the kiosk stays up as long as a touch would have kept it.
    if (!held && !m_asleep)
        m_wokenByInput = true;
    check();
}

void PowerController::wokenByInput() {
    m_idle.touch();
    m_wokenByInput = true;
    check();
}

bool PowerController::scheduledAwake() const {
    return scheduledOn(m_schedule, m_clock.now(), m_dayOff);
}

void PowerController::check() {
    const bool scheduled = scheduledAwake();
    bool awake = scheduled;
    if (scheduled) {
        m_wokenByInput = false;
    } else if (m_held || (m_keepAwake && m_keepAwake())) {
        awake = true;
        // When the hold ends, the idle timeout counts from the last input.
        m_wokenByInput = true;
    } else if (m_wokenByInput) {
        const int limit = m_wakeSeconds ? m_wakeSeconds() : 0;
        awake = limit > 0 && m_idle.idleSeconds() < static_cast<std::uint32_t>(limit);
        m_wokenByInput = awake;
    }
    setAsleep(!awake);
    planNextCheck(scheduled);
}

void PowerController::setAsleep(bool asleep) {
    if (asleep == m_asleep)
        return;
    m_asleep = asleep;
    qCInfo(kalmo::lcPower) << (asleep ? "going to sleep" : "waking up") << "at"
                           << m_clock.now().toString(Qt::ISODate);
    emit asleepChanged(asleep);
}

void PowerController::planNextCheck(bool scheduled) {
    if (!scheduled && !m_asleep) {
        m_timer.start(kWokenCheckMs);
        return;
    }
    const QDateTime now = m_clock.now();
    const QDateTime edge = nextScheduleEdge(m_schedule, now);
    qint64 wait = kLongestWaitMs;
    if (edge.isValid())
        wait = std::clamp<qint64>(now.msecsTo(edge), 1, kLongestWaitMs);
    m_timer.start(int(wait));
}

} // namespace kalmo::power
