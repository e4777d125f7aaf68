#pragma once

#include "calendar/calendar_file.h"

#include <QString>
#include <functional>
#include <optional>

namespace kalmo::calendar {

// The text a day without an `event` key shows in the editor.
QString placeholderText();

// A day as the editor reads it from the file.
struct StoredDay {
    QString event;   // the stored fragment, or the placeholder
    QString picture; // `image`, or the home's value for a missing key
    QString file;
};
StoredDay readDay(const CalendarFile &file, const QString &key, const QString &pictureWithoutKey);

// What the editor holds for a day: the text box as plain text, the picture path, the file box.
struct DayContent {
    QString text;
    QString picture;
    QString file;
};

// Writes a day's `event` (deleted first, then stored in the event text form), `image` and
// `file`. Raises core::IniWriteError and stops at the refused write.
void writeDayContent(CalendarFile &file, const QString &key, const DayContent &content);

// The days one editor home adds, saves and deletes. The day added last stays pending: it
// receives the editor's content only when the next day is added. Outlives closing the home,
// so a day added before closing is still pending at the next opening. Every operation raises
// core::IniWriteError and stops at the refused write, leaving the pending day as it was.
class DayBook {
public:
    // Add of `key` as `kind`: writes the kind, calls `listed` (the caller shows the new
    // entry), writes `current` into the pending day, then makes `key` the pending day.
    void add(CalendarFile &file, const QString &key, DayKind kind, const DayContent &current,
             const std::function<void()> &listed);
    // Add of `key` as `kind` when the day is listed already: writes the kind and `current` into
    // the pending day as add() does, but `key` does not become pending (its stored text,
    // picture and file are the day's own); nothing is pending afterwards.
    void mark(CalendarFile &file, const QString &key, DayKind kind, const DayContent &current);
    // Writes `content` into `key`; nothing is pending afterwards.
    void save(CalendarFile &file, const QString &key, const DayContent &content);
    // Erases the day's whole section; nothing is pending afterwards.
    void remove(CalendarFile &file, const QString &key);

    const std::optional<QString> &pending() const { return m_pending; }

private:
    std::optional<QString> m_pending;
};

} // namespace kalmo::calendar
