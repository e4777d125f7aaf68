#include "calendar/days_off.h"

#include "calendar/calendar_file.h"

namespace kalmo::calendar {

bool DaysOff::contains(const QDate &day) const {
    if ((saturday && day.dayOfWeek() == Qt::Saturday) || (sunday && day.dayOfWeek() == Qt::Sunday))
        return true;
    return marked.contains(dateKey(day));
}

DaysOff readDaysOff(const QString &path) {
    const CalendarFile file(path, CalendarFile::Mode::Snapshot);
    DaysOff days;
    const QString ini = QStringLiteral("ini");
    days.saturday = file.readBool(ini, QStringLiteral("Saturday"), days.saturday);
    days.sunday = file.readBool(ini, QStringLiteral("Sunday"), days.sunday);
    for (const QString &section : file.sections()) {
        const int kind = file.readInteger(section, dayKey::kind, kEvent);
        if (kind == kDayOff || kind == kHoliday)
            days.marked.insert(section);
    }
    return days;
}

} // namespace kalmo::calendar
