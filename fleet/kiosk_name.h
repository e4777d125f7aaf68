#pragma once

#include <QString>

namespace kalmo::fleet {

// The kiosk's name among the kiosks following one folder: `[kiosk] name=` of the pointer
// file, else the host name. Only what is safe as a file name in the shared folder is kept
// (a name such as "../x" must not write outside `kiosks/`).
QString kioskName(const QString &configured, const QString &hostName);

// The name with every character that cannot stand in a file name on Windows or Linux shares
// replaced by '_'; empty or dot-only names give "kiosk".
QString safeFileName(const QString &name);

} // namespace kalmo::fleet
