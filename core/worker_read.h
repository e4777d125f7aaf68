#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <QSemaphore>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

namespace kalmo::core {

// How long a file read on the settings folder may take before the screen stops waiting for
// it. A share that answers at all answers well within this.
inline constexpr std::chrono::milliseconds kFileReadTimeLimit{10000};

// Runs file system work off the GUI thread: reads, existence checks and listings of files
// that may lie on a network share, where a call blocks for as long as the server does not
// answer (for ever, on some mounts).
//
//     core::WorkerRead<std::optional<QString>> m_read;   // a member of the screen
//     m_read.start([path] { return readSomething(path); },          // on a worker thread
//                  [this](std::optional<QString> text) { ... },     // on this thread
//                  [this] { ... });                                 // limit passed first
//
// One job at a time: start() refuses (returns false) while the previous job is still
// running, so a hung share costs one blocked thread per reader, never a pile of them. The
// job runs on a thread of its own; it must not touch widgets or the caller's members, only
// what it was handed by value. `done` gets the result on the thread the WorkerRead was
// created on, from its event loop. When the job has not finished within the time limit,
// `timedOut` is called once; the job's thread is left to finish whenever the share answers
// (a call blocked on a hung mount cannot be cancelled), and `done` still gets its result
// then, so a caller that showed "unavailable" can show the data after all. Destroying the
// WorkerRead drops any result still to come; a job's thread never holds up the program's
// exit. A job that throws ends without a result (`done` is not called).
template <typename T> class WorkerRead {
public:
    using Job = std::function<T()>;
    using Done = std::function<void(T)>;
    using TimedOut = std::function<void()>;

    explicit WorkerRead(std::chrono::milliseconds limit = kFileReadTimeLimit) {
        m_limit.setSingleShot(true);
        m_limit.setInterval(limit);
        QObject::connect(&m_limit, &QTimer::timeout, &m_watcher, [this] {
            if (m_timedOut)
                m_timedOut();
        });
        QObject::connect(&m_watcher, &QFutureWatcher<T>::finished, &m_watcher, [this] {
            m_limit.stop();
            m_busy = false;
            const QFuture<T> future = m_watcher.future();
            // Take the handlers first: `done` may start the next job.
            Done done = std::exchange(m_done, {});
            m_timedOut = {};
            if (std::exchange(m_skipDone, false))
                return; // startAndWait handed the result over already
            if (done && future.resultCount() > 0)
                done(future.result());
        });
    }
    WorkerRead(const WorkerRead &) = delete;
    WorkerRead &operator=(const WorkerRead &) = delete;

    // Starts `job` unless one is still running. Returns false (and starts nothing) then.
    bool start(Job job, Done done, TimedOut timedOut = {}) {
        if (m_busy)
            return false;
        m_busy = true;
        m_done = std::move(done);
        m_timedOut = std::move(timedOut);
        QPromise<T> promise;
        m_watcher.setFuture(promise.future());
        promise.start();
        m_limit.start();
        // Detached: a thread stuck on a hung share must not hold up the exit.
        std::thread([promise = std::move(promise), job = std::move(job)]() mutable {
            try {
                promise.addResult(job());
            } catch (...) {
                // No result: `done` is not called, and the reader is free again.
            }
            promise.finish();
        }).detach();
        return true;
    }

    // Starts `job` like start() and waits on this thread up to `wait` for it: gives the
    // result when it came in time (`done` is not called then), nothing when it did not (or
    // the reader was busy); `done` then gets it later, as after start(). For reads at
    // start-up, which may hold up the first paint briefly but never for as long as a share
    // hangs. A job that throws counts as one that did not come in time.
    std::optional<T> startAndWait(Job job, std::chrono::milliseconds wait, Done done,
                                  TimedOut timedOut = {}) {
        struct Handover {
            QSemaphore ready;
            std::optional<T> value;
        };
        auto handover = std::make_shared<Handover>();
        const bool started = start(
            [job = std::move(job), handover] {
                try {
                    T result = job();
                    handover->value = result;
                    handover->ready.release();
                    return result;
                } catch (...) {
                    handover->ready.release();
                    throw;
                }
            },
            std::move(done), std::move(timedOut));
        if (!started || !handover->ready.tryAcquire(1, int(wait.count())) || !handover->value)
            return std::nullopt;
        m_skipDone = true;
        return handover->value;
    }

    // A job is running (perhaps past its time limit).
    bool busy() const { return m_busy; }
    // The running job has passed its time limit.
    bool overdue() const { return m_busy && !m_limit.isActive(); }
    void setTimeLimit(std::chrono::milliseconds limit) { m_limit.setInterval(limit); }

private:
    QFutureWatcher<T> m_watcher;
    QTimer m_limit;
    Done m_done;
    TimedOut m_timedOut;
    bool m_busy = false;
    bool m_skipDone = false;
};

} // namespace kalmo::core
