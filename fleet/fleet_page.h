#pragma once

#include "fleet/heartbeat.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace kalmo::fleet {

// A heartbeat older than this means the kiosk has stopped reporting.
inline constexpr qint64 kStaleSeconds = 3 * 60;

enum class KioskState { Working, Lost, ScheduledOff };

struct KioskStatus {
    KioskState state = KioskState::Working;
    QString text; // "работает", "нет связи N мин", "выключен по расписанию"
};

// The status the fleet page shows for a heartbeat read at `now`. A kiosk that stopped
// reporting counts as lost even when it last said its screen was off: nobody knows since.
KioskStatus kioskStatus(const Heartbeat &beat, const QDateTime &now);

// What the kiosk shows, in the administrator's words ("главный экран: p1.jpg").
QString screenDescription(const Heartbeat &beat);

// The whole fleet page: self-contained HTML (no scripts, nothing from the network) that
// reloads itself every 60 s and reads on a phone. Screenshots are `<file name>.jpg` beside it.
QByteArray buildFleetPage(const QList<Heartbeat> &beats, const QDateTime &now);

} // namespace kalmo::fleet
