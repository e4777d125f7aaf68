#pragma once

#include <QDate>
#include <QSet>
#include <QString>

namespace kalmo::calendar {

// The days the calendar file keeps free of lessons: the days marked as a day off or a
// holiday, and the weekend days by the `Saturday`/`Sunday` flags.
struct DaysOff {
    QSet<QString> marked; // date keys of the days with `eventday` 2 or 3
    bool saturday = false;
    bool sunday = true;

    bool contains(const QDate &day) const;
};

// Reads the calendar file at `path` (file system work: never on the GUI thread). A missing
// file gives no marked days and the default flags.
DaysOff readDaysOff(const QString &path);

} // namespace kalmo::calendar
