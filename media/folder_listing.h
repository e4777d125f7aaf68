#pragma once

#include <QString>
#include <QStringList>

// The photo and video folders: where a folder value points, and what it holds. Every call
// here but folderPath() touches the file system, so it runs on a worker, never on the GUI
// thread (the folder may be a network share that hangs).
namespace kalmo::media {

// A folder value as the settings hold it, made a folder path ending with '/': "\" taken as
// "/", a relative value taken from the base folder, the separator added when it is missing.
// An empty value stays empty (no folder, never the working folder).
QString folderPath(const QString &value, const QString &baseFolder);

// The photo extensions, each in lower and in upper case only: "a.Jpg" is not a photo.
const QStringList &photoExtensions();
bool hasExtension(const QString &name, const QStringList &extensions);

struct FolderListing {
    bool available = false; // the folder is there and can be read
    QStringList paths;      // folder + name of each matching file, in natural name order
};

// The plain files of `folder` (a folderPath()) with one of the extensions.
FolderListing listFolder(const QString &folder, const QStringList &extensions);

// The folder is there as a folder.
bool folderExists(const QString &folder);

} // namespace kalmo::media
