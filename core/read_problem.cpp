#include "core/read_problem.h"

#include <QFile>

namespace kalmo::core {

QString readProblem(const IniFile &file) {
    if (file.isTooLarge())
        return QStringLiteral("over the size limit of %1 bytes").arg(kMaxIniFileBytes);
    return readProblem(file.path());
}

QString readProblem(const QString &path) {
    QFile f(path);
    if (!f.exists())
        return {};
    char byte;
    if (!f.open(QIODevice::ReadOnly) || f.read(&byte, 1) < 0)
        return f.errorString();
    return {};
}

} // namespace kalmo::core
