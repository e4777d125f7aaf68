#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

namespace kalmo::media {

// Runs file system work (folder listings, existence checks, photo decodes) away from the
// GUI thread and answers on it. A network share that hangs blocks its call for minutes or
// for ever, and nothing can cancel that call: so each job runs on a thread of its own that
// nobody waits for, the answer after the time limit is "no answer" (nullopt), and at most
// a few jobs are in flight, so that a long hang cannot pile up threads.
class BackgroundJobs : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxInFlight = 4;

    explicit BackgroundJobs(std::chrono::milliseconds timeLimit, QObject *parent = nullptr);
    ~BackgroundJobs() override; // never waits: a job still running is left to end alone

    void setTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }
    // Runs each job at once on the calling thread (tests, tools).
    void setSynchronous(bool on) { m_synchronous = on; }
    // Jobs started and not finished yet (a hung one stays counted until it ends).
    int inFlight() const;

    // Runs `job` on a worker; `done` gets its result on this object's thread, or nullopt when
    // the time limit passed first or too many jobs hang already. `done` runs once.
    template <typename Job, typename Done> void run(Job job, Done done) {
        using Result = std::invoke_result_t<Job &>;
        if (m_synchronous) {
            done(std::optional<Result>(job()));
            return;
        }
        auto answer = std::make_shared<Answer<Result>>(
            std::function<void(std::optional<Result>)>(std::move(done)));
        if (!reserve()) {
            QTimer::singleShot(0, this, [answer] { answer->give(std::nullopt); });
            return;
        }
        QTimer::singleShot(m_timeLimit, this, [answer] { answer->give(std::nullopt); });
        startThread([shared = m_shared, answer, job = std::move(job)]() mutable {
            std::optional<Result> result(job());
            std::lock_guard lock(shared->mutex);
            --shared->inFlight;
            if (shared->owner)
                QMetaObject::invokeMethod(
                    shared->owner,
                    [answer, result = std::move(result)]() mutable {
                        answer->give(std::move(result));
                    },
                    Qt::QueuedConnection);
        });
    }

private:
    // Touched on the owner's thread only.
    template <typename Result> struct Answer {
        explicit Answer(std::function<void(std::optional<Result>)> f) : done(std::move(f)) {}
        void give(std::optional<Result> result) {
            if (!done)
                return;
            auto f = std::move(done);
            done = nullptr;
            f(std::move(result));
        }
        std::function<void(std::optional<Result>)> done;
    };
    // Outlives this object for as long as a job still runs.
    struct Shared {
        std::mutex mutex;
        BackgroundJobs *owner = nullptr; // null once this object is gone
        int inFlight = 0;
    };

    bool reserve();
    void startThread(std::function<void()> work);

    std::shared_ptr<Shared> m_shared;
    std::chrono::milliseconds m_timeLimit;
    bool m_synchronous = false;
};

} // namespace kalmo::media
