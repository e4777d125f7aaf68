#include "fleet/resident_memory.h"

#include <QFile>
#include <QList>
#include <unistd.h>

namespace kalmo::fleet {

int residentMemoryMb() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return 0;
    const long page = sysconf(_SC_PAGESIZE);
    const qint64 bytes = fields[1].toLongLong() * (page > 0 ? page : 4096);
    return static_cast<int>((bytes + 512 * 1024) / (1024 * 1024));
}

} // namespace kalmo::fleet
