#include "core/clock.h"

#include <QElapsedTimer>

namespace kalmo::core {

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

std::uint32_t SystemClock::tickMs() const {
    // Monotonic milliseconds truncated to 32 bits, as a system tick count wraps.
    static const qint64 origin = [] {
        QElapsedTimer t;
        t.start();
        return t.msecsSinceReference();
    }();
    QElapsedTimer t;
    t.start();
    return static_cast<std::uint32_t>(t.msecsSinceReference() - origin);
}

ShiftedClock::ShiftedClock(const QDateTime &now)
    : m_offsetMs(QDateTime::currentDateTime().msecsTo(now)) {}

QDateTime ShiftedClock::now() const {
    return m_real.now().addMSecs(m_offsetMs);
}

} // namespace kalmo::core
