#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

namespace kalmo::fleet {

// Runs file system work for the shared folder on threads of its own, one job of each kind
// at a time: a share that hangs leaves the GUI thread alone, and a hung job is not joined by
// a pile of new ones. A job still running after the time limit is logged once as hung; its
// kind stays busy until it returns. Jobs get only what they were handed by value; a result
// still to come when the worker goes is dropped, and its thread never holds up the exit.
class ShareWorker : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultLimitMs = 30000;

    explicit ShareWorker(int limitMs = kDefaultLimitMs, QObject *parent = nullptr);
    ~ShareWorker() override;

    enum Kind { Heartbeat, Notice, Screenshot, KindCount };

    // Runs `job` on a worker and `done` on this object's thread with its result, unless a job
    // of this kind is still running (then returns false and runs nothing).
    template <typename T> bool run(Kind kind, std::function<T()> job, std::function<void(T)> done) {
        if (m_busy[kind])
            return false;
        start(kind);
        auto *watcher = new QFutureWatcher<T>(this);
        connect(watcher, &QFutureWatcherBase::finished, this,
                [this, kind, watcher, done = std::move(done)] {
                    finish(kind);
                    if (done && watcher->future().resultCount() > 0)
                        done(watcher->result());
                    watcher->deleteLater();
                });
        watcher->setFuture(launch<T>(std::move(job)));
        return true;
    }

    bool busy(Kind kind) const { return m_busy[kind]; }
    // Whether the running job of this kind has been logged as hung.
    bool reportedHung(Kind kind) const { return m_busy[kind] && m_reported[kind]; }
    // True once every job has returned (tests wait for it).
    bool idle() const;

private:
    template <typename T> QFuture<T> launch(std::function<T()> job);
    void start(Kind kind);
    void finish(Kind kind);
    void checkHung();

    int m_limitMs;
    bool m_busy[KindCount] = {};
    bool m_reported[KindCount] = {};
    QElapsedTimer m_since[KindCount];
    QTimer *m_watchdog = nullptr;
};

} // namespace kalmo::fleet

#include <QPromise>
#include <thread>

namespace kalmo::fleet {
// A thread of its own, detached: one stuck on a hung share must not hold up the exit. A job
// that throws ends without a result.
template <typename T> QFuture<T> ShareWorker::launch(std::function<T()> job) {
    QPromise<T> promise;
    QFuture<T> future = promise.future();
    promise.start();
    std::thread([promise = std::move(promise), job = std::move(job)]() mutable {
        try {
            promise.addResult(job());
        } catch (...) {
        }
        promise.finish();
    }).detach();
    return future;
}
} // namespace kalmo::fleet
