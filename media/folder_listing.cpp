#include "media/folder_listing.h"

#include "core/natural_order.h"

#include <QDir>
#include <QFileInfo>

namespace kalmo::media {

QString folderPath(const QString &value, const QString &baseFolder) {
    if (value.trimmed().isEmpty())
        return {};
    QString path = value;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isRelativePath(path) && !baseFolder.isEmpty())
        path = baseFolder + (baseFolder.endsWith(QLatin1Char('/')) ? "" : "/") + path;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

const QStringList &photoExtensions() {
    static const QStringList extensions{QStringLiteral(".jpeg"), QStringLiteral(".jpg"),
                                        QStringLiteral(".bmp"),  QStringLiteral(".png"),
                                        QStringLiteral(".JPEG"), QStringLiteral(".JPG"),
                                        QStringLiteral(".BMP"),  QStringLiteral(".PNG")};
    return extensions;
}

bool hasExtension(const QString &name, const QStringList &extensions) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && extensions.contains(name.mid(dot));
}

FolderListing listFolder(const QString &folder, const QStringList &extensions) {
    FolderListing listing;
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable())
        return listing;
    const QDir dir(folder);
    QStringList names;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (hasExtension(name, extensions))
            names << name;
    core::sortNatural(names);
    listing.available = true;
    for (const QString &name : names)
        listing.paths << folder + name;
    return listing;
}

bool folderExists(const QString &folder) {
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

} // namespace kalmo::media
