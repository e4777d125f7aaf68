#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace kalmo::fleet {

// What one kiosk reports about itself in `kiosks/<name>.ini`.
struct Heartbeat {
    QString name;
    QString version;
    QDateTime started; // local time
    QDateTime updated; // local time; invalid when the file's value cannot be read
    QString screen;    // main, site, calendar, schedule, photo, video, settings, notice, off
    QString photo;     // file name on the main screen
    QString notice;    // checksum of the notice shown; empty when none
    QString error;     // the program's last warning or error; empty when none
    int memoryMb = 0;  // resident memory

    // The file the heartbeat was read from (not written).
    QString fileName;
};

inline constexpr char kTimeFormat[] = "yyyy-MM-dd HH:mm:ss";

// The file's text, section [kiosk], UTF-8. Line breaks inside values become blanks: every
// value is one line.
QByteArray formatHeartbeat(const Heartbeat &beat);

// Reads one heartbeat file (UTF-8 or Windows-1251, as the settings files are read). A file
// that is missing or has no [kiosk] section gives a heartbeat with an empty name.
Heartbeat readHeartbeat(const QString &path);

// Every heartbeat file (*.ini) of a kiosks folder, in natural order of their names.
QList<Heartbeat> readHeartbeats(const QString &kiosksFolder);

} // namespace kalmo::fleet
