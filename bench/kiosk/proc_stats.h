#pragma once

// CPU and memory of a process and the processes below it (the engine's zygote, renderers,
// GPU and utility processes), read from /proc the way `top` reads them.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QStringList>
#include <unistd.h>

namespace kalmo::bench {

struct ProcStat {
    qint64 ppid = 0;
    qint64 ticks = 0; // user + system time, in clock ticks
};

// The fields of a stat file (/proc/PID/stat, /proc/thread-self/stat) after the command name,
// from the state on: "pid (comm) state ppid ..."; comm may hold blanks and parentheses.
inline QList<QByteArray> statFields(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = f.readAll();
    return text.mid(text.lastIndexOf(')') + 2).split(' ');
}

inline bool readStat(qint64 pid, ProcStat &out) {
    // state ppid ... utime(14) stime(15), counted from the pid as 1
    const QList<QByteArray> rest = statFields(QStringLiteral("/proc/%1/stat").arg(pid));
    if (rest.size() < 13)
        return false;
    out.ppid = rest[1].toLongLong();
    out.ticks = rest[11].toLongLong() + rest[12].toLongLong();
    return true;
}

// `root` and every live process below it, with their CPU ticks so far.
inline QHash<qint64, qint64> treeTicks(qint64 root) {
    QHash<qint64, ProcStat> all;
    for (const QString &name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool ok = false;
        const qint64 pid = name.toLongLong(&ok);
        ProcStat s;
        if (ok && readStat(pid, s))
            all.insert(pid, s);
    }
    QHash<qint64, qint64> tree;
    if (!all.contains(root))
        return tree;
    tree.insert(root, all[root].ticks);
    for (bool grew = true; grew;) {
        grew = false;
        for (auto it = all.cbegin(); it != all.cend(); ++it) {
            if (!tree.contains(it.key()) && tree.contains(it.value().ppid)) {
                tree.insert(it.key(), it.value().ticks);
                grew = true;
            }
        }
    }
    return tree;
}

// Percent of one core used by the tree between two samples; a process that appeared in
// between counts with all its time.
inline double cpuPercent(const QHash<qint64, qint64> &before, const QHash<qint64, qint64> &after,
                         qint64 elapsedMs) {
    qint64 ticks = 0;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        ticks += it.value() - before.value(it.key(), 0);
    const double seconds = double(ticks) / double(sysconf(_SC_CLK_TCK));
    return elapsedMs > 0 ? 100.0 * seconds / (elapsedMs / 1000.0) : 0.0;
}

// A /proc/PID/status field in KiB ("VmRSS", "VmHWM"); 0 when the process is gone.
inline qint64 statusKiB(qint64 pid, const char *field) {
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

} // namespace kalmo::bench
