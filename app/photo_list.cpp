#include "app/photo_list.h"

namespace kalmo::app {

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

} // namespace kalmo::app
