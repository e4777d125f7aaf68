#pragma once

#include "core/clock.h"
#include "core/random.h"
#include "transitions/frame_setup.h"
#include "transitions/pacing.h"

#include <QImage>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kalmo::transitions {

class BandPool;

// The thread of one running transition. It owns everything it touches: it makes the
// transition's pictures (when asked to), paces the progress on the steady clock, builds each
// frame into a back buffer of its own and hands it over under a plain mutex. It never sees
// the control: the control is told that something waits through `wake` (called on the worker
// thread; it must only post a notification) and collects it on its own thread with take().
class FrameWorker {
public:
    struct Start {
        // Make the pictures from this first, then wait for resume(); without it `pictures`
        // are used as they are and ticking starts at once.
        std::optional<FrameSetup> setup;
        TransitionPictures pictures;
        int style = 0;
        std::uint64_t seed = 0;
        bool buildFrames = true; // false: only pace; the control builds the frames itself
        int progress = 0;
        Pacing pacing;
        const core::Clock *clock = nullptr; // must outlive the worker
        std::uint32_t lastTick = 0;         // clock tick of the previous step
        BandPool *pool = nullptr;           // helpers for large frames; may be null
    };

    // What waited for the control since its last take(), in the order it happened.
    struct Delivery {
        std::optional<TransitionPictures> prepared; // the pictures of a start with `setup`
        std::exception_ptr error;                   // making the pictures failed
        bool hasFrame = false;                      // `frame` of take() is the newest frame
        std::vector<int> steps;                     // progress values reached, one per tick
        bool finished = false;                      // the last step is among `steps`
    };

    explicit FrameWorker(std::function<void()> wake);
    ~FrameWorker();
    FrameWorker(const FrameWorker &) = delete;
    FrameWorker &operator=(const FrameWorker &) = delete;

    // Starts a thread for one transition. Does nothing while one runs (stop() it first).
    void start(Start start);
    // Ends the thread and waits for it; afterwards nothing more is delivered. Returns what
    // still waited (its newest frame swapped into `front` as take() does). Never call it
    // from `wake`.
    Delivery stop(QImage &front);
    void stop();
    bool running() const;

    // After a delivery with `prepared`: start ticking, from `oldPic` (the control's old
    // picture, which an onStart handler may have drawn on).
    void resume(const QImage &oldPic);
    // Changes that reach the frames built from now on.
    void setStyle(int style);
    void setOldPicture(const QImage &oldPic);

    // Collects what waits. When a new frame waits it is swapped into `front`, and the
    // buffer `front` held becomes the worker's to draw the next frame into.
    Delivery take(QImage &front);

private:
    void run(Start start);
    bool waitUntil(std::chrono::steady_clock::time_point deadline);
    void deliver(const std::function<void(Delivery &)> &fill, QImage *frame = nullptr);

    std::function<void()> m_wake;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_stop = false;
    bool m_running = false;
    bool m_resumed = false;
    bool m_wakePosted = false;
    Delivery m_waiting;
    QImage m_ready;  // the newest frame (when m_waiting.hasFrame), else a spare buffer
    QImage m_oldPic; // shared with the thread, replaced by setOldPicture/resume
    bool m_oldPicChanged = false;
    int m_style = 0;
    std::thread m_thread;
};

} // namespace kalmo::transitions
