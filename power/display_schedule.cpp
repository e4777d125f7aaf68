#include "power/display_schedule.h"

#include "core/log.h"

#include <QRegularExpression>

namespace kalmo::power {

namespace {

bool onDay(const DisplaySchedule &s, const QDate &day, const DayOffTest &dayOff) {
    if (!s.days.contains(QChar(u'0' + day.dayOfWeek())))
        return false;
    return !(dayOff && dayOff(day));
}

} // namespace

std::optional<QTime> parseClockTime(const QString &text) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int h = m.captured(1).toInt(), min = m.captured(2).toInt();
    const int sec = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (h > 23 || min > 59 || sec > 59)
        return std::nullopt;
    return QTime(h, min, sec);
}

bool validWeekdays(const QString &text) {
    static const QRegularExpression form(QStringLiteral("^\\s*[1-7]+\\s*$"));
    return form.match(text).hasMatch();
}

DisplaySchedule readDisplaySchedule(const QString &on, const QString &off, const QString &days) {
    DisplaySchedule s;
    const auto time = [](const QString &text, const char *key) -> std::optional<QTime> {
        if (text.trimmed().isEmpty())
            return std::nullopt;
        const auto t = parseClockTime(text);
        if (!t)
            qCWarning(kalmo::lcPower).noquote()
                << QStringLiteral("power/") + QLatin1String(key)
                << "is not a time of day (H:mm):" << text << "- the screen stays on";
        return t;
    };
    s.on = time(on, "on");
    s.off = time(off, "off");
    if (validWeekdays(days))
        s.days = days.trimmed();
    else if (!days.trimmed().isEmpty())
        qCWarning(kalmo::lcPower).noquote()
            << "power/days is not a list of weekday digits 1-7:" << days << "- using"
            << DisplaySchedule::defaultDays();
    return s;
}

bool scheduledOn(const DisplaySchedule &s, const QDateTime &t, const DayOffTest &dayOff) {
    if (s.alwaysOn())
        return true;
    const QTime now = t.time();
    const QDate today = t.date();
    if (*s.on < *s.off)
        return now >= *s.on && now < *s.off && onDay(s, today, dayOff);
    // Past midnight: from the on-time to the end of the day, and on into the next morning.
    if (now >= *s.on)
        return onDay(s, today, dayOff);
    if (now < *s.off)
        return onDay(s, today.addDays(-1), dayOff);
    return false;
}

QDateTime nextScheduleEdge(const DisplaySchedule &s, const QDateTime &t) {
    if (s.alwaysOn())
        return {};
    QDateTime best;
    for (int d = 0; d <= 1; ++d) {
        for (const QTime &edge : {*s.on, *s.off}) {
            const QDateTime at(t.date().addDays(d), edge);
            if (at > t && (!best.isValid() || at < best))
                best = at;
        }
    }
    return best;
}

} // namespace kalmo::power
