#include "fleet/heartbeat.h"

#include "core/ini_file.h"
#include "core/natural_order.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace kalmo::fleet {

namespace {

QString oneLine(QString value) {
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(u'\n', u' ');
    value.replace(u'\r', u' ');
    return value.trimmed();
}

QString timeText(const QDateTime &time) {
    return time.isValid() ? time.toString(QLatin1String(kTimeFormat)) : QString();
}

} // namespace

QByteArray formatHeartbeat(const Heartbeat &beat) {
    const QList<std::pair<const char *, QString>> keys = {
        {"name", beat.name},
        {"version", beat.version},
        {"started", timeText(beat.started)},
        {"updated", timeText(beat.updated)},
        {"screen", beat.screen},
        {"photo", beat.photo},
        {"notice", beat.notice},
        {"error", beat.error},
        {"memory", QString::number(beat.memoryMb)},
    };
    QString text = QStringLiteral("[kiosk]\r\n");
    for (const auto &[key, value] : keys)
        text += QLatin1String(key) + u'=' + oneLine(value) + QLatin1String("\r\n");
    return text.toUtf8();
}

Heartbeat readHeartbeat(const QString &path) {
    Heartbeat beat;
    beat.fileName = QFileInfo(path).fileName();
    const core::IniFile ini(path, core::IniFile::Mode::Snapshot);
    const QString s = QStringLiteral("kiosk");
    if (!ini.sectionExists(s))
        return beat;
    beat.name = ini.readString(s, QStringLiteral("name"));
    if (beat.name.isEmpty())
        beat.name = QFileInfo(path).completeBaseName();
    beat.version = ini.readString(s, QStringLiteral("version"));
    const QString format = QLatin1String(kTimeFormat);
    beat.started = QDateTime::fromString(ini.readString(s, QStringLiteral("started")), format);
    beat.updated = QDateTime::fromString(ini.readString(s, QStringLiteral("updated")), format);
    beat.screen = ini.readString(s, QStringLiteral("screen"));
    beat.photo = ini.readString(s, QStringLiteral("photo"));
    beat.notice = ini.readString(s, QStringLiteral("notice"));
    beat.error = ini.readString(s, QStringLiteral("error"));
    beat.memoryMb = ini.readInteger(s, QStringLiteral("memory"), 0);
    return beat;
}

QList<Heartbeat> readHeartbeats(const QString &kiosksFolder) {
    QStringList files =
        QDir(kiosksFolder).entryList({QStringLiteral("*.ini")}, QDir::Files | QDir::Readable);
    core::sortNatural(files);
    QList<Heartbeat> beats;
    for (const QString &file : files) {
        Heartbeat beat = readHeartbeat(QDir(kiosksFolder).filePath(file));
        if (!beat.name.isEmpty())
            beats << beat;
    }
    return beats;
}

} // namespace kalmo::fleet
