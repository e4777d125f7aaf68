#pragma once

#include "core/ini_file.h"

#include <QString>

namespace kalmo::schedule {

// The default bell table of a new main settings file: eight lessons.
// Raises core::IniWriteError when the file cannot be written.
void writeDefaultBellTable(core::IniFile &settings);

// Writes the default schedule file (one department with eight groups) unless the file
// already carries its first-start mark. Returns true when it wrote.
// Raises core::IniWriteError when the file cannot be written.
bool scheduleFirstStart(const QString &scheduleFilePath);

} // namespace kalmo::schedule
