#pragma once

#include "core/program_values.h"

#include <QString>

namespace kalmo::admin {

// The four settings files the settings dialog works on while it is shown. They are fixed
// when it opens, so a re-read or a new settings location meanwhile does not move them.
struct DialogFiles {
    QString pointer;  // filesetting.ini beside the program
    QString main;     // the main settings file
    QString calendar; // dateini.ini beside the main settings file
    QString schedule; // raspisanie.ini beside the main settings file

    static DialogFiles forMainFile(const QString &pointerPath, const QString &mainPath);
};

// The pointer file of the program whose base folder `values` names.
QString pointerFilePath(const core::ProgramValues &values);
// The main settings file used when the pointer file names none.
QString defaultMainSettingsPath(const core::ProgramValues &values);

// Whether the settings dialog must warn that the main settings file is out of reach: the path
// names a folder, or it cannot be examined for a reason other than its absence or a malformed
// name (access denied, I/O error, a loop of links). A file not created yet is no cause.
bool settingsPathUnreachable(const QString &path);

} // namespace kalmo::admin
