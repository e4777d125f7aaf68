#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <optional>

namespace kalmo::core {

// An exclusive lock on a file that several kiosks may change at once over a network share:
// the lock file `<path>.lock`, created with O_EXCL beside the file (that is atomic on local
// disks, NFS v3+, SMB and SFTP alike), holding "<boot id> <pid> <nonce> <host>". Where the
// file system has advisory locks the lock file is also flock()ed, which tells a live holder
// from a dead one for certain.
//
// A lock left by a writer that died is taken over: at once when its writer was a process of
// this very boot that is gone, otherwise once the lock file is older than staleAfter and has
// stayed the same lock for a while as we watched (so that a clock set wrong cannot break a
// lock that was just taken). The taker moves the stale file aside by rename, so of two takers
// only one wins.
class FileLock {
public:
    struct Options {
        std::chrono::milliseconds wait{5000};        // give up after this
        std::chrono::milliseconds staleAfter{30000}; // no write holds a lock this long
        std::chrono::milliseconds watchStale{1500};  // a stale-looking lock must stay that long
    };

    // Takes the lock on `path`, trying until options.wait has passed. Nothing when it could
    // not be had; `why` then says what stood in the way, and `busy` whether it was another
    // writer (rather than a folder that is missing or read-only).
    static std::optional<FileLock> acquire(const QString &path, const Options &options,
                                           QString *why = nullptr, bool *busy = nullptr);

    FileLock(FileLock &&other) noexcept;
    FileLock &operator=(FileLock &&other) noexcept;
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;
    ~FileLock();

    // The lock file still holds our token: nobody took it over as stale meanwhile.
    bool stillHeld() const;
    // Removes the lock file (when it is still ours).
    void release();

    static QString lockPathFor(const QString &path);
    // What this process writes into its lock files before the nonce: "<boot id> <pid>".
    static QByteArray ownerPrefix();

private:
    FileLock(QByteArray lockPath, QByteArray token, int fd);

    QByteArray m_lockPath; // native
    QByteArray m_token;
    int m_fd = -1;
    std::chrono::steady_clock::time_point m_since; // taken then
};

} // namespace kalmo::core
