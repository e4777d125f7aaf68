#pragma once

#include <QString>

namespace kalmo::core {

// Where the program finds its own files and where it keeps the kiosk's.
struct ProgramFolders {
    QString base; // settings, photos, videos, log; ends with '/'
    QString data; // the shipped pictures and samples; ends with '/'
    bool installed = false;
};

// Decides the folders from where the executable lies. In the build tree the shipped files are
// beside the executable and the executable's folder is the default base folder. Installed
// (bin/ next to share/kalmo/), the executable's folder is not writable, so the default base
// folder is <user data>/kalmo (~/.local/share/kalmo). An explicit base folder always wins.
ProgramFolders resolveProgramFolders(const QString &executableFolder, const QString &baseArgument,
                                     const QString &userDataFolder);

// The user's data folder: $XDG_DATA_HOME, else ~/.local/share.
QString userDataFolder();

// Copies the files of `from` into `to`, folders included, leaving every file that is already
// there alone. Returns false when a file could not be copied.
bool copyMissing(const QString &from, const QString &to);

} // namespace kalmo::core
