#include "schedule/countdown.h"

#include "schedule/bell_time.h"

namespace kalmo::schedule {

namespace {

QString minutesAndSeconds(int minutes, const QTime &now) {
    return QString::number(minutes) + QStringLiteral(" минут ") +
           QString::number(60 - now.second()) + QStringLiteral(" секунд.");
}

QString startsIn(int lesson, const QTime &start, const QTime &now) {
    return QString::number(lesson) + QStringLiteral(" занятие начнется через ") +
           minutesAndSeconds(wholeMinutesBetween(now, start), now);
}

} // namespace

std::optional<int> breakAfter(const BellTable &table, int k) {
    if (k < 1 || k >= table.count())
        return std::nullopt;
    const auto end = parseBellTime(table.stops[k - 1]);
    const auto next = parseBellTime(table.starts[k]);
    if (!end || !next)
        return std::nullopt;
    return wholeMinutesBetween(*end, *next);
}

QStringList bellListLines(const BellTable &table) {
    QStringList lines;
    const int n = table.count();
    for (int k = 1; k <= n; ++k) {
        QString line = QString::number(k) + QStringLiteral(") ") + table.starts[k - 1] +
                       QStringLiteral(" - ") + table.stops[k - 1];
        if (k == n) {
            line += QStringLiteral(". Окончание занятий.");
        } else if (const auto minutes = breakAfter(table, k)) {
            line += QStringLiteral(", перерыв ") + QString::number(*minutes) +
                    QStringLiteral(" минут.");
        } else {
            line += QLatin1Char('.');
        }
        lines << line;
    }
    return lines;
}

std::optional<QString> countdownLine(const BellTable &table, const QTime &now) {
    const int n = table.count();
    if (n == 0)
        return std::nullopt;
    const int nowMs = now.msecsSinceStartOfDay();
    const auto ms = [](const std::optional<QTime> &t) { return t->msecsSinceStartOfDay(); };
    const auto firstStart = parseBellTime(table.starts[0]);
    const auto lastEnd = parseBellTime(table.stops[n - 1]);
    for (int k = 1; k <= n; ++k) {
        // 1. The first lesson starts within half an hour.
        if (firstStart && wholeMinutesBetween(*firstStart, now) < 30 && nowMs < ms(firstStart))
            return startsIn(1, *firstStart, now);
        // 2. Lesson k is running.
        const auto start = parseBellTime(table.starts[k - 1]);
        const auto end = parseBellTime(table.stops[k - 1]);
        if (start && end && nowMs > ms(start) && nowMs < ms(end)) {
            const int left = ms(end) - nowMs;
            return QString::number(k) + QStringLiteral(" занятие закончится через ") +
                   QString::number(left / 3600000) + QStringLiteral(" час ") +
                   minutesAndSeconds(left / 60000 % 60, now);
        }
        // 3. The day is over.
        if (lastEnd && nowMs > ms(lastEnd))
            return QStringLiteral("На сегодня занятия закончились, встретимся завтра!");
        // 4. A break before lesson k + 1.
        if (k < n && end && nowMs > ms(end)) {
            const auto next = parseBellTime(table.starts[k]);
            if (next && nowMs < ms(next))
                return startsIn(k + 1, *next, now);
        }
    }
    return std::nullopt;
}

QStringList unreadableBellEntries(const BellTable &table) {
    QStringList bad;
    for (int k = 1; k <= table.count(); ++k) {
        if (!parseBellTime(table.starts[k - 1]))
            bad << QStringLiteral("start %1 \"%2\"").arg(k).arg(table.starts[k - 1]);
        if (!parseBellTime(table.stops[k - 1]))
            bad << QStringLiteral("end %1 \"%2\"").arg(k).arg(table.stops[k - 1]);
    }
    return bad;
}

} // namespace kalmo::schedule
