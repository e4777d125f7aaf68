#pragma once

#include <QByteArray>
#include <QString>

namespace kalmo::fleet {

// Larger notice files are not read (a notice is a few lines; a stray big file must not
// fill the kiosk's memory).
inline constexpr qint64 kNoticeLimitBytes = 64 * 1024;

// The urgent notice: shown while `shown` is true.
struct Notice {
    bool shown = false;
    QString title; // the first line
    QString text;  // the rest
    QString checksum;

    bool operator==(const Notice &) const = default;
};

// A notice made of a file's bytes (UTF-8 or Windows-1251, as the settings files are read).
// Blank lines before the title are skipped; a file holding nothing but blanks shows nothing.
Notice noticeFromBytes(const QByteArray &bytes);

// The notice of a file that cannot be shown: its file name and "не удалось прочитать".
Notice unreadableNotice(const QString &fileName);

// Reads the notice file: none when it does not exist, the unreadable notice (logged) when it
// is over the limit or cannot be read. Blocks on a hung share: call it on a worker.
Notice readNotice(const QString &path);

// A short checksum of what a notice shows, the same for the same text in either encoding:
// the heartbeat reports it so the administrator sees which kiosks show which notice.
QString noticeChecksum(const QString &title, const QString &text);

} // namespace kalmo::fleet
