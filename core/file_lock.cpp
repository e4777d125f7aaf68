#include "core/file_lock.h"

#include "core/log.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace kalmo::core {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

QByteArray bootId() {
    // Identifies this running kernel: a pid in a lock file means something only to it.
    static const QByteArray id = [] {
        QFile f(QStringLiteral("/proc/sys/kernel/random/boot_id"));
        const QByteArray text = f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
        return text.isEmpty() || text.contains(' ') ? QByteArray("unknown-boot") : text;
    }();
    return id;
}

// What a look at someone else's lock file found.
struct Seen {
    bool exists = false;
    bool live = false; // its holder has it flock()ed
    QByteArray token;
    timespec mtime{};
};

QByteArray readToken(int fd) {
    char buf[512];
    ssize_t n;
    do {
        n = ::pread(fd, buf, sizeof buf, 0);
    } while (n < 0 && errno == EINTR);
    return n > 0 ? QByteArray(buf, n) : QByteArray();
}

Seen inspect(const QByteArray &lockPath) {
    Seen s;
    const int fd = ::open(lockPath.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        s.exists = errno != ENOENT;
        return s;
    }
    s.exists = true;
    struct stat st {};
    if (::fstat(fd, &st) == 0)
        s.mtime = st.st_mtim;
    s.token = readToken(fd);
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
        s.live = errno == EWOULDBLOCK;
    ::close(fd); // drops our shared lock, if we got it
    return s;
}

// The holder was a process of this boot that no longer runs.
bool holderIsGone(const QByteArray &token) {
    const QList<QByteArray> parts = token.trimmed().split(' ');
    if (parts.size() < 2 || parts[0] != bootId())
        return false;
    bool ok = false;
    const long pid = parts[1].toLong(&ok);
    if (!ok || pid <= 0 || pid == long(::getpid()))
        return false;
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

milliseconds ageOf(const timespec &mtime) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const qint64 ms =
        qint64(now.tv_sec - mtime.tv_sec) * 1000 + qint64(now.tv_nsec - mtime.tv_nsec) / 1000000;
    return milliseconds(std::max<qint64>(ms, 0)); // a lock from the future is fresh
}

bool sameLock(const Seen &a, const Seen &b) {
    return a.token == b.token && a.mtime.tv_sec == b.mtime.tv_sec &&
           a.mtime.tv_nsec == b.mtime.tv_nsec;
}

// Moves the stale lock `seen` out of the way. When what was moved is not that lock (someone
// took it over and locked anew between our look and the rename), it goes back unless a newer
// lock already stands there.
void takeOver(const QByteArray &lockPath, const Seen &seen, const QByteArray &nonce) {
    const QByteArray aside = lockPath + ".stale." + nonce;
    if (::rename(lockPath.constData(), aside.constData()) != 0)
        return; // gone already: another taker was quicker, or its holder let go
    const Seen moved = inspect(aside);
    if (moved.exists && sameLock(moved, seen)) {
        qCWarning(kalmo::lcSettings).noquote()
            << "took over the stale lock" << QString::fromLocal8Bit(lockPath) << "left by"
            << (seen.token.trimmed().isEmpty() ? QByteArray("an unknown writer")
                                               : seen.token.trimmed());
        ::unlink(aside.constData());
        return;
    }
    if (::link(aside.constData(), lockPath.constData()) == 0 || errno == EEXIST) {
        ::unlink(aside.constData());
        return;
    }
    // No hard links here: put it back by rename, unless a new lock came meanwhile.
    struct stat st {};
    if (::lstat(lockPath.constData(), &st) != 0 && errno == ENOENT)
        ::rename(aside.constData(), lockPath.constData());
    else
        ::unlink(aside.constData());
}

// Writers that wait only poll, so one that takes the lock again right after letting it go
// would always win. Waiters therefore keep a mark beside the lock (`<lock>.wait`), and a
// writer that let go of the same lock just now and sees the mark first leaves them a gap as
// long as its hold was.
struct LastHold {
    std::mutex mutex;
    QByteArray lockPath;
    Clock::time_point released;
    Clock::duration held{};
};

LastHold &lastHold() {
    static LastHold last;
    return last;
}

QByteArray waitMark(const QByteArray &lockPath) {
    return lockPath + ".wait";
}

void markWaiting(const QByteArray &lockPath) {
    const int fd = ::open(waitMark(lockPath).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0)
        ::close(fd);
}

void giveWaitersAGap(const QByteArray &lockPath) {
    LastHold &last = lastHold();
    Clock::duration gap{};
    {
        const std::lock_guard guard(last.mutex);
        if (last.lockPath != lockPath)
            return;
        const auto since = Clock::now() - last.released;
        const auto held = std::min<Clock::duration>(last.held, milliseconds(200));
        if (since < 2 * held)
            gap = 2 * held - since;
    }
    struct stat st {};
    if (gap > Clock::duration::zero() && ::lstat(waitMark(lockPath).constData(), &st) == 0)
        std::this_thread::sleep_for(gap);
}

QString describe(const Seen &s) {
    const QByteArray t = s.token.trimmed();
    return t.isEmpty() ? QStringLiteral("another writer")
                       : QStringLiteral("another writer (%1)").arg(QString::fromUtf8(t));
}

} // namespace

QString FileLock::lockPathFor(const QString &path) {
    return path + QStringLiteral(".lock");
}

QByteArray FileLock::ownerPrefix() {
    return bootId() + ' ' + QByteArray::number(qint64(::getpid()));
}

std::optional<FileLock> FileLock::acquire(const QString &path, const Options &options, QString *why,
                                          bool *busy) {
    if (busy)
        *busy = false;
    const QByteArray lockPath = QFile::encodeName(lockPathFor(path));
    const QByteArray nonce =
        QByteArray::number(QRandomGenerator::global()->generate64(), 16).rightJustified(16, '0');
    QByteArray host = QSysInfo::machineHostName().toUtf8();
    host.replace(' ', '_');
    const QByteArray token = ownerPrefix() + ' ' + nonce + ' ' + host + '\n';

    const auto deadline = Clock::now() + options.wait;
    giveWaitersAGap(lockPath);
    bool waited = false;
    Seen watched;
    Clock::time_point watchedSince;
    milliseconds pause(1);
    for (;;) {
        const int fd = ::open(lockPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            // Advisory lock first, token second: a token seen means the flock is held already
            // (where the file system has flock at all; elsewhere this fails and we go on).
            ::flock(fd, LOCK_EX | LOCK_NB);
            ssize_t n;
            do {
                n = ::write(fd, token.constData(), size_t(token.size()));
            } while (n < 0 && errno == EINTR);
            if (n != token.size()) {
                const int err = n < 0 ? errno : ENOSPC;
                ::unlink(lockPath.constData());
                ::close(fd);
                if (why)
                    *why = QString::fromLocal8Bit(std::strerror(err));
                return std::nullopt;
            }
            if (waited)
                ::unlink(waitMark(lockPath).constData());
            return FileLock(lockPath, token, fd);
        }
        const int err = errno;
        // SFTP has no "exists" error: sshfs says EPERM for a lock file that is there (or was,
        // a moment ago), so that one is waited out like a held lock.
        if (err != EEXIST && err != EPERM) {
            // No folder, a read-only one, no space: waiting will not help.
            if (why)
                *why = QString::fromLocal8Bit(std::strerror(err));
            return std::nullopt;
        }
        const Seen seen = inspect(lockPath);
        if (!seen.exists && err == EEXIST)
            continue; // let go just now: try again at once
        if (!seen.live) {
            bool stale = holderIsGone(seen.token);
            if (!stale && ageOf(seen.mtime) > options.staleAfter) {
                if (!watched.exists || !sameLock(watched, seen)) {
                    watched = seen;
                    watchedSince = Clock::now();
                } else if (Clock::now() - watchedSince >= options.watchStale) {
                    stale = true;
                }
            }
            if (stale) {
                takeOver(lockPath, seen, nonce);
                watched = Seen();
                continue;
            }
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            if (busy)
                *busy = seen.exists;
            if (why)
                *why = seen.exists ? QStringLiteral("locked by %1").arg(describe(seen))
                                   : QString::fromLocal8Bit(std::strerror(err));
            return std::nullopt;
        }
        // Short, jittered pauses: writes hold the lock for milliseconds, and writers that
        // wake in step would only collide again.
        const auto jitter =
            milliseconds(QRandomGenerator::global()->bounded(int(pause.count()) + 1));
        std::this_thread::sleep_for(std::min<Clock::duration>(pause + jitter, deadline - now));
        pause = std::min(pause * 2, milliseconds(16));
        markWaiting(lockPath);
        waited = true;
    }
}

FileLock::FileLock(QByteArray lockPath, QByteArray token, int fd)
    : m_lockPath(std::move(lockPath)), m_token(std::move(token)), m_fd(fd), m_since(Clock::now()) {}

FileLock::FileLock(FileLock &&other) noexcept
    : m_lockPath(std::move(other.m_lockPath)), m_token(std::move(other.m_token)),
      m_fd(std::exchange(other.m_fd, -1)), m_since(other.m_since) {}

FileLock &FileLock::operator=(FileLock &&other) noexcept {
    if (this != &other) {
        release();
        m_lockPath = std::move(other.m_lockPath);
        m_token = std::move(other.m_token);
        m_fd = std::exchange(other.m_fd, -1);
        m_since = other.m_since;
    }
    return *this;
}

FileLock::~FileLock() {
    release();
}

bool FileLock::stillHeld() const {
    if (m_fd < 0)
        return false;
    const int fd = ::open(m_lockPath.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    const QByteArray now = readToken(fd);
    ::close(fd);
    return now == m_token;
}

void FileLock::release() {
    if (m_fd < 0)
        return;
    if (stillHeld())
        ::unlink(m_lockPath.constData());
    ::close(m_fd);
    m_fd = -1;
    LastHold &last = lastHold();
    const std::lock_guard guard(last.mutex);
    last.lockPath = m_lockPath;
    last.released = Clock::now();
    last.held = last.released - m_since;
}

} // namespace kalmo::core
