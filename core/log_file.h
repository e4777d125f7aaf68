#pragma once

#include <QFile>
#include <QMutex>
#include <QString>
#include <QtGlobal>

namespace kalmo::core {

class Clock;

// The program's log: every Qt message (the kalmo.* categories and Qt's own) goes to one file
// with a timestamp, level and category per line, and to stderr when asked (a terminal). The
// file is rotated at a size limit, keeping one old file beside it (name + ".1"), so an
// unattended kiosk never fills its disk. While an object lives it is the process's message
// handler; the destructor puts the previous handler back.
class LogFile {
public:
    static constexpr qint64 DefaultRotateBytes = 1024 * 1024;

    struct Options {
        QString path;
        qint64 rotateBytes = DefaultRotateBytes;
        bool alsoStderr = false;
        const Clock *clock = nullptr; // the system clock when null
    };

    explicit LogFile(Options options);
    ~LogFile();
    LogFile(const LogFile &) = delete;
    LogFile &operator=(const LogFile &) = delete;

    // False when the file could not be opened (the log then goes to stderr only).
    bool isOpen() const { return m_file.isOpen(); }
    const QString &path() const { return m_options.path; }

    void write(QtMsgType type, const char *category, const QString &message);

    // The last warning or error written ("category: message"); empty when none. Any thread.
    QString lastProblem() const;

    // One line of the log, without the line break.
    static QString formatLine(const QDateTime &time, QtMsgType type, const char *category,
                              const QString &message);

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message);
    void rotate();

    Options m_options;
    mutable QMutex m_mutex;
    QString m_lastProblem;
    QFile m_file;
    QtMessageHandler m_previous = nullptr;
};

} // namespace kalmo::core
