#include "app/photo_list.h"

#include <QDir>
#include <QFileInfo>

namespace kalmo::app {

bool isPhotoName(const QString &name) {
    static const QStringList extensions{".jpeg", ".jpg", ".bmp", ".png",
                                        ".JPEG", ".JPG", ".BMP", ".PNG"};
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && extensions.contains(name.mid(dot));
}

QStringList buildPhotoList(const QString &folder) {
    // The listing pattern is folder + "*.*": the folder part up to the last '/', and a name
    // filter for whatever follows it.
    const QString pattern = folder + QStringLiteral("*.*");
    const qsizetype slash = pattern.lastIndexOf(u'/');
    const QString listed = slash < 0 ? QStringLiteral(".") : pattern.left(slash + 1);
    const QString namePrefix = pattern.mid(slash + 1).chopped(3); // before "*.*"
    QDir dir(listed);
    if (!dir.exists())
        return {};
    QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::NoSort);
    QStringList list;
    for (const QString &name : entries)
        if (name.startsWith(namePrefix))
            list << folder + name;
    for (qsizetype i = list.size() - 1; i >= 0; --i)
        if (!isPhotoName(list[i].mid(list[i].lastIndexOf(u'/') + 1)))
            list.removeAt(i);
    return list;
}

QString photoCaption(const QString &path) {
    QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString photoShortName(const QString &entry, const QString &folder) {
    QString name = entry.startsWith(folder) ? entry.mid(folder.size()) : entry;
    const qsizetype dot = name.indexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

bool folderExists(const QString &folder) {
    const QFileInfo fi(folder);
    return !folder.isEmpty() && fi.exists() && fi.isDir();
}

} // namespace kalmo::app
