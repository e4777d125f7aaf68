#pragma once

#include "core/ini_file.h"

#include <QString>

namespace kalmo::core {

// Why a settings or data file that is there could not be read (the store's read status):
// over the size limit, or the file system's error (an I/O error, a stale handle on a share,
// a folder in its place). Empty when it was read, and when there is no file at all (that
// reads as empty). Readers that must keep what they have use it to tell an unreadable file
// from an empty one. A live file is read again if it changed: call it where the file was
// read, off the GUI thread.
QString readProblem(const IniFile &file);

} // namespace kalmo::core
