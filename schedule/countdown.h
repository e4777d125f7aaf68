#pragma once

#include "schedule/schedule_files.h"

#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

namespace kalmo::schedule {

// Break after lesson k (1-based, k < N): whole minutes between its end and the next
// start, in either order; nothing when either time does not read.
std::optional<int> breakAfter(const BellTable &table, int k);

// One line per lesson: "1) 9:00:00 - 9:45:00, перерыв 15 минут." and for the last lesson
// "8) 17:15:00 - 18:00:00. Окончание занятий.". Times appear as stored; a break that
// cannot be computed is left out ("3) 11:15:00 - ?.").
QStringList bellListLines(const BellTable &table);

// The countdown line on a day without lessons; the bell list stays as it is.
inline const QString kNoLessonsToday = QStringLiteral("Сегодня занятий нет.");

// The countdown line at `now`, or nothing when it keeps the text it had (no lessons, more
// than half an hour before the first one, or exactly on a bell). Entries that do not read
// as times take part in no case.
std::optional<QString> countdownLine(const BellTable &table, const QTime &now);

// Positions (1-based) and texts of the entries that do not read as times, for the log.
QStringList unreadableBellEntries(const BellTable &table);

} // namespace kalmo::schedule
