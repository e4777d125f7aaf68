#include "ticker/ticker_text.h"

#include "core/text_codec.h"

#include <QFile>
#include <QFileInfo>

namespace kalmo::ticker {

QString joinLines(const QString &text) {
    QString out = text;
    out.remove(QLatin1Char('\r'));
    out.remove(QLatin1Char('\n'));
    return out;
}

std::optional<QString> readTickerText(const QString &path, QString *error) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("File not found: %1").arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return joinLines(core::decodeText(bytes).text);
}

} // namespace kalmo::ticker
