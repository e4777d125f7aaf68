#pragma once

#include <QString>
#include <QStringList>

namespace kalmo::app {

// The photo extensions, each in lower and upper case only: "Jpg" is not a photo.
bool isPhotoName(const QString &name);

// Every entry of the folder (folders, "." and ".." included) as folder + name, then only
// the photos kept, in listing order. The folder is joined by plain concatenation, so a folder
// value without its trailing '/' lists the wrong place and finds no photo.
QStringList buildPhotoList(const QString &folder);

// The file name without its extension (from the last '.' on): the caption of a shown photo.
QString photoCaption(const QString &path);

// The entry without the folder prefix and without everything from its first '.' on, as the
// error texts name a photo.
QString photoShortName(const QString &entry, const QString &folder);

// A folder value exists as a folder.
bool folderExists(const QString &folder);

} // namespace kalmo::app
