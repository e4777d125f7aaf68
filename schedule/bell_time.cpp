#include "schedule/bell_time.h"

#include <QStringList>
#include <cstdlib>

namespace kalmo::schedule {

namespace {

std::optional<int> field(const QString &text, int max) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 2)
        return std::nullopt;
    int value = 0;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value > max)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<QTime> parseBellTime(const QString &text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return std::nullopt;
    const auto h = field(parts[0], 23);
    const auto m = field(parts[1], 59);
    const auto s = field(parts[2], 59);
    if (!h || !m || !s)
        return std::nullopt;
    return QTime(*h, *m, *s);
}

int wholeMinutesBetween(const QTime &a, const QTime &b) {
    return std::abs(a.msecsSinceStartOfDay() - b.msecsSinceStartOfDay()) / 60000;
}

} // namespace kalmo::schedule
