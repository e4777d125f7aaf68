#pragma once

#include "core/ini_file.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kalmo::schedule {

// Section and key names of the schedule file and of the bell table. Names compare without
// regard to case; the writers keep the letter cases existing files carry.
inline QString departmentSection(int n) {
    return QString::number(n);
}

// ---- First start ----------------------------------------------------------------------

// The default bell table of a new main settings file: eight lessons.
// Raises core::IniWriteError when the file cannot be written.
void writeDefaultBellTable(core::IniFile &settings);

// Writes the default schedule file (one department with eight groups) unless the file
// already carries its first-start mark. Returns true when it wrote.
// Raises core::IniWriteError when the file cannot be written.
bool scheduleFirstStart(const QString &scheduleFilePath);

// ---- Schedule file readers --------------------------------------------------------------

// Number of departments: a missing key, a stored 0 (or anything below 1) count as 1.
int readDepartmentCount(const core::IniFile &file);
QString readDepartmentName(const core::IniFile &file, int n);
// Number of groups of department n as stored, with `missing` for an absent or unreadable
// key (the screen builds its buttons with 1 and opens a group with 0).
int readGroupCount(const core::IniFile &file, int n, int missing);

struct Group {
    QString name;
    QString document; // normally a full file path; handed to the browser as it stands
    bool operator==(const Group &) const = default;
};

// Groups 1..count of department n (names and documents default to empty).
QList<Group> readGroups(const core::IniFile &file, int n, int count);

// ---- Schedule file writers (the sections editor) ------------------------------------------
// Each raises core::IniWriteError when the file cannot be written; a failed call leaves the
// file as it was.

void writeDepartmentCount(core::IniFile &file, int count);

// Replaces section n: `countrazdel` := pages, then the name, the group count and every
// group in order. An empty group list is stored as the name with a group count of 0.
void saveDepartment(core::IniFile &file, int n, int pages, const QString &name,
                    const QList<Group> &groups);

// Erases department p and stores the number of departments left.
void eraseDepartment(core::IniFile &file, int p, int pagesLeft);

// ---- Bell table ---------------------------------------------------------------------------

// Start and end texts of lessons 1..N, exactly as stored.
struct BellTable {
    QStringList starts;
    QStringList stops;
    int count() const { return static_cast<int>(starts.size()); }
    bool operator==(const BellTable &) const = default;
};

// N = `Raspisanie`/`Count` as stored: missing or unreadable 8, negative 0.
int readLessonCount(const core::IniFile &settings);

// The screen's reading of lessons 1..min(N, limit): a missing start of lesson k reads
// k + 8 ":15:00", a missing end k + 9 ":00:00".
BellTable readBellTable(const core::IniFile &settings, int limit);

// Stores the table: `Count`, then every start and every end as they stand.
void saveBellTable(core::IniFile &settings, const BellTable &table);

} // namespace kalmo::schedule
