#include "fleet/fleet_page.h"

#include <QFileInfo>
#include <QUrl>

namespace kalmo::fleet {

namespace {

QString html(const QString &text) {
    return text.toHtmlEscaped();
}

const char *stateClass(KioskState state) {
    switch (state) {
    case KioskState::Working:
        return "ok";
    case KioskState::Lost:
        return "lost";
    case KioskState::ScheduledOff:
        return "off";
    }
    return "ok";
}

// The page's own look: inline, so the page works from a share with no network.
constexpr char kStyle[] =
    "body{margin:0;padding:12px;font-family:sans-serif;background:#eef0f3;color:#222}"
    "h1{font-size:1.4em;margin:0 0 4px}"
    ".time{color:#555;margin:0 0 12px}"
    ".cards{display:grid;grid-template-columns:repeat(auto-fill,minmax(280px,1fr));gap:12px}"
    ".card{background:#fff;border-radius:8px;padding:10px;box-shadow:0 1px 3px #0003}"
    ".card img{width:100%;height:auto;display:block;background:#ccc;border-radius:4px}"
    ".name{font-size:1.2em;font-weight:bold;margin:8px 0 4px;word-break:break-word}"
    ".status{display:inline-block;padding:2px 8px;border-radius:10px;color:#fff}"
    ".ok .status{background:#2e7d32}.lost .status{background:#c62828}"
    ".off .status{background:#546e7a}"
    ".lost{opacity:.75}"
    "dl{margin:8px 0 0;display:grid;grid-template-columns:auto 1fr;gap:2px 8px}"
    "dt{color:#666}dd{margin:0;word-break:break-word}"
    ".error{color:#b71c1c}";

} // namespace

KioskStatus kioskStatus(const Heartbeat &beat, const QDateTime &now) {
    if (!beat.updated.isValid())
        return {KioskState::Lost, QStringLiteral("нет связи")};
    const qint64 age = beat.updated.secsTo(now);
    if (age > kStaleSeconds)
        return {KioskState::Lost, QStringLiteral("нет связи %1 мин").arg(age / 60)};
    if (beat.screen == QLatin1String("off"))
        return {KioskState::ScheduledOff, QStringLiteral("выключен по расписанию")};
    return {KioskState::Working, QStringLiteral("работает")};
}

QString screenDescription(const Heartbeat &beat) {
    static const QList<std::pair<const char *, QString>> names = {
        {"main", QStringLiteral("главный экран")},
        {"site", QStringLiteral("сайт")},
        {"calendar", QStringLiteral("календарь событий")},
        {"schedule", QStringLiteral("расписание занятий")},
        {"photo", QStringLiteral("фотоматериалы")},
        {"video", QStringLiteral("видеоматериалы")},
        {"settings", QStringLiteral("настройки")},
        {"notice", QStringLiteral("срочное объявление")},
        {"off", QStringLiteral("экран выключен")},
    };
    QString text = beat.screen;
    for (const auto &[key, name] : names)
        if (beat.screen == QLatin1String(key))
            text = name;
    if (beat.screen == QLatin1String("main") && !beat.photo.isEmpty())
        text += QStringLiteral(": ") + beat.photo;
    if (beat.screen == QLatin1String("notice") && !beat.notice.isEmpty())
        text += QStringLiteral(" (") + beat.notice + u')';
    return text;
}

QByteArray buildFleetPage(const QList<Heartbeat> &beats, const QDateTime &now) {
    const QString nowText = now.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    QString page =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\">"
                       "<meta http-equiv=\"refresh\" content=\"60\">"
                       "<meta name=\"viewport\" content=\"width=device-width, "
                       "initial-scale=1\"><title>Киоски</title><style>");
    page += QLatin1String(kStyle);
    page += QStringLiteral("</style></head><body><h1>Киоски</h1><p class=\"time\">Страница "
                           "обновлена ") +
            nowText + QStringLiteral("</p><div class=\"cards\">\n");
    for (const Heartbeat &beat : beats) {
        const KioskStatus status = kioskStatus(beat, now);
        const QString base = QFileInfo(beat.fileName).completeBaseName();
        // The query makes a browser fetch each new screenshot instead of its cached copy.
        const QString picture =
            QString::fromLatin1(QUrl::toPercentEncoding(base + QStringLiteral(".jpg"))) +
            QStringLiteral("?") + beat.updated.toString(QStringLiteral("yyyyMMddHHmmss"));
        page +=
            QStringLiteral("<div class=\"card %1\">").arg(QLatin1String(stateClass(status.state)));
        page += QStringLiteral("<img src=\"") + html(picture) + QStringLiteral("\" alt=\"") +
                html(beat.name) + QStringLiteral("\">");
        page += QStringLiteral("<div class=\"name\">") + html(beat.name) + QStringLiteral("</div>");
        page += QStringLiteral("<span class=\"status\">") + html(status.text) +
                QStringLiteral("</span><dl>");
        const auto row = [&page](const QString &label, const QString &value,
                                 const char *cls = nullptr) {
            page += QStringLiteral("<dt>") + label + QStringLiteral("</dt><dd") +
                    (cls ? QStringLiteral(" class=\"%1\"").arg(QLatin1String(cls)) : QString()) +
                    u'>' + html(value) + QStringLiteral("</dd>");
        };
        row(QStringLiteral("Экран"), screenDescription(beat));
        row(QStringLiteral("Версия"), beat.version);
        row(QStringLiteral("Обновлено"),
            beat.updated.isValid() ? beat.updated.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))
                                   : QString());
        row(QStringLiteral("Ошибка"), beat.error.isEmpty() ? QStringLiteral("нет") : beat.error,
            beat.error.isEmpty() ? nullptr : "error");
        page += QStringLiteral("</dl></div>\n");
    }
    if (beats.isEmpty())
        page += QStringLiteral("<p>Ни один киоск ещё не отметился.</p>\n");
    page += QStringLiteral("</div></body></html>\n");
    return page.toUtf8();
}

} // namespace kalmo::fleet
