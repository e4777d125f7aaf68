#include "fleet/kiosk_name.h"

namespace kalmo::fleet {

QString safeFileName(const QString &name) {
    QString out;
    out.reserve(name.size());
    for (const QChar c : name.trimmed()) {
        const bool bad = c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c);
        out += bad ? QChar(u'_') : c;
    }
    bool onlyDots = true;
    for (const QChar c : out)
        onlyDots = onlyDots && c == u'.';
    return onlyDots ? QStringLiteral("kiosk") : out;
}

QString kioskName(const QString &configured, const QString &hostName) {
    const QString name = configured.trimmed().isEmpty() ? hostName : configured;
    return safeFileName(name);
}

} // namespace kalmo::fleet
