#pragma once

#include <QString>
#include <QStringList>

namespace kalmo::core {

// Orders names as a person (and a Windows folder) does: runs of digits compare by their
// value, letters without regard to case, so "photo2" comes before "photo10".
bool naturalLess(const QString &a, const QString &b);

void sortNatural(QStringList &names);

// The names of the plain files in a folder whose name ends with one of the given
// extensions (compared with regard to case, e.g. ".jpg"), in natural order. An empty
// list when the folder cannot be read.
QStringList listFilesNatural(const QString &folder, const QStringList &extensions);

} // namespace kalmo::core
