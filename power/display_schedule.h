#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <functional>
#include <optional>

namespace kalmo::power {

// When the screen is on: `[power]` of the main settings file.
struct DisplaySchedule {
    std::optional<QTime> on;      // the on-time; none: the screen never sleeps
    std::optional<QTime> off;     // the off-time; none or equal to `on`: never sleeps
    QString days = defaultDays(); // ISO weekday digits (1 Monday .. 7 Sunday) of the on-days

    static QString defaultDays() { return QStringLiteral("12345"); }
    bool alwaysOn() const { return !on || !off || *on == *off; }
};

// "7:30", "07:30" or "7:30:00" (blanks around allowed); hours 0-23. Nothing for anything
// else, an empty text included.
std::optional<QTime> parseClockTime(const QString &text);

// Weekday digits 1-7, at least one, nothing else (blanks around allowed).
bool validWeekdays(const QString &text);

// The schedule from the three stored texts. A time that does not read counts as none (the
// screen stays on) and bad days as the default, so a typing slip never blacks a kiosk out;
// each is logged.
DisplaySchedule readDisplaySchedule(const QString &on, const QString &off, const QString &days);

// A day the calendar keeps free (a day off, a holiday, a weekend day by its flags).
using DayOffTest = std::function<bool(const QDate &)>;

// Whether the screen is on at `t`: between the on-time (inclusive) and the off-time
// (exclusive) of an on-day. An off-time before the on-time runs past midnight, and the hours
// after midnight belong to the day they started on.
bool scheduledOn(const DisplaySchedule &schedule, const QDateTime &t, const DayOffTest &dayOff);

// The first on- or off-time after `t`, when the answer of scheduledOn may change; invalid
// for a schedule that is always on.
QDateTime nextScheduleEdge(const DisplaySchedule &schedule, const QDateTime &t);

} // namespace kalmo::power
