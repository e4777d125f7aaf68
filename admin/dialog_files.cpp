#include "admin/dialog_files.h"

#include "core/ini_file.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace kalmo::admin {

DialogFiles DialogFiles::forMainFile(const QString &pointerPath, const QString &mainPath) {
    const QString folder = core::folderOf(mainPath);
    return {pointerPath, mainPath, folder + QStringLiteral("dateini.ini"),
            folder + QStringLiteral("raspisanie.ini")};
}

QString pointerFilePath(const core::ProgramValues &values) {
    return values.baseFolder + QStringLiteral("filesetting.ini");
}

QString defaultMainSettingsPath(const core::ProgramValues &values) {
    return values.baseFolder + QStringLiteral("kalmora.ini");
}

bool settingsPathUnreachable(const QString &path) {
    if (path.isEmpty() || path.contains(QChar(0)))
        return false; // an invalid name
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    switch (errno) {
    case ENOENT:       // file not found
    case ENOTDIR:      // path not found
    case ENAMETOOLONG: // invalid name
    case ENXIO:        // device not ready
    case ENODEV:
        return false;
    default:
        return true;
    }
}

} // namespace kalmo::admin
