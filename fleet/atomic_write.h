#pragma once

#include <QByteArray>
#include <QString>

namespace kalmo::fleet {

// Writes beside the file and renames, so a reader on another kiosk never sees half of it.
// Creates the folder when missing. Returns false (and logs) when the write failed; the old
// file then stays as it was. Never call it on the GUI thread: the folder may be a share.
bool writeAtomically(const QString &path, const QByteArray &bytes);

} // namespace kalmo::fleet
