#include "core/program_folders.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace kalmo::core {

namespace {

QString withSlash(QString path) {
    path = QDir::cleanPath(path);
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

} // namespace

ProgramFolders resolveProgramFolders(const QString &executableFolder, const QString &baseArgument,
                                     const QString &userDataFolder) {
    ProgramFolders f;
    const QString share = executableFolder + QStringLiteral("/../share/kalmo");
    f.installed = !QFileInfo::exists(executableFolder + QStringLiteral("/cloudiness")) &&
                  QFileInfo(share).isDir();
    f.data = withSlash(QFileInfo(f.installed ? share : executableFolder).absoluteFilePath());
    if (!baseArgument.isEmpty())
        f.base = withSlash(QFileInfo(baseArgument).absoluteFilePath());
    else if (f.installed)
        f.base = withSlash(userDataFolder + QStringLiteral("/kalmo"));
    else
        f.base = withSlash(QFileInfo(executableFolder).absoluteFilePath());
    return f;
}

QString userDataFolder() {
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

bool copyMissing(const QString &from, const QString &to) {
    const QDir source(from);
    if (!source.exists())
        return true;
    bool ok = QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = QDir(to).filePath(source.relativeFilePath(path));
        if (it.fileInfo().isDir())
            ok = QDir().mkpath(target) && ok;
        else if (!QFileInfo::exists(target))
            ok = QFile::copy(path, target) && ok;
    }
    return ok;
}

} // namespace kalmo::core
