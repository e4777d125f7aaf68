#include "fleet/atomic_write.h"

#include "core/log.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace kalmo::fleet {

bool writeAtomically(const QString &path, const QByteArray &bytes) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        qCWarning(lcFleet).noquote() << "cannot create the folder" << folder;
        return false;
    }
    QSaveFile file(path);
    // No fallback to writing in place after a failed commit: that is how good files get torn.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qCWarning(lcFleet).noquote() << "Unable to write to" << path << file.errorString();
        return false;
    }
    return true;
}

} // namespace kalmo::fleet
