#include "power/x11_saver_settings.h"

#include <QRegularExpression>

namespace kalmo::power {

std::optional<XSaverSettings> parseXsetQuery(const QByteArray &output) {
    const QString text = QString::fromLocal8Bit(output);
    static const QRegularExpression saver(QStringLiteral("timeout:\\s*(\\d+)\\s+cycle:\\s*(\\d+)"));
    const QRegularExpressionMatch s = saver.match(text);
    if (!s.hasMatch())
        return std::nullopt;
    XSaverSettings x;
    x.timeout = s.captured(1).toInt();
    x.cycle = s.captured(2).toInt();
    static const QRegularExpression blanking(QStringLiteral("prefer blanking:\\s*(yes|no)"));
    if (const QRegularExpressionMatch b = blanking.match(text); b.hasMatch())
        x.preferBlanking = b.captured(1) == QLatin1String("yes");
    static const QRegularExpression dpms(
        QStringLiteral("Standby:\\s*(\\d+)\\s+Suspend:\\s*(\\d+)\\s+Off:\\s*(\\d+)"));
    if (const QRegularExpressionMatch d = dpms.match(text); d.hasMatch()) {
        x.dpmsKnown = true;
        x.standby = d.captured(1).toInt();
        x.suspend = d.captured(2).toInt();
        x.off = d.captured(3).toInt();
        x.dpmsEnabled = text.contains(QLatin1String("DPMS is Enabled"));
    }
    return x;
}

QList<QStringList> xsetWhileAwake() {
    return {
        {QStringLiteral("dpms"), QStringLiteral("force"), QStringLiteral("on")},
        {QStringLiteral("s"), QStringLiteral("reset")},
        {QStringLiteral("s"), QStringLiteral("off"), QStringLiteral("-dpms")},
    };
}

QList<QStringList> xsetWhileAsleep(const std::optional<XSaverSettings> &saved) {
    QList<QStringList> runs;
    if (saved) {
        runs << QStringList{QStringLiteral("s"), QString::number(saved->timeout),
                            QString::number(saved->cycle)};
        runs << QStringList{QStringLiteral("s"), saved->preferBlanking ? QStringLiteral("blank")
                                                                       : QStringLiteral("noblank")};
        if (saved->dpmsKnown)
            runs << QStringList{QStringLiteral("dpms"), QString::number(saved->standby),
                                QString::number(saved->suspend), QString::number(saved->off)};
    }
    // Switching off enables DPMS; it stays so until the kiosk wakes.
    runs << QStringList{QStringLiteral("dpms"), QStringLiteral("force"), QStringLiteral("off")};
    return runs;
}

QStringList xsetAtExit(const XSaverSettings &saved) {
    QStringList args{QStringLiteral("s"), QString::number(saved.timeout),
                     QString::number(saved.cycle), QStringLiteral("s"),
                     saved.preferBlanking ? QStringLiteral("blank") : QStringLiteral("noblank")};
    if (saved.dpmsKnown)
        args << QStringLiteral("dpms") << QString::number(saved.standby)
             << QString::number(saved.suspend) << QString::number(saved.off)
             << (saved.dpmsEnabled ? QStringLiteral("+dpms") : QStringLiteral("-dpms"));
    return args;
}

} // namespace kalmo::power
