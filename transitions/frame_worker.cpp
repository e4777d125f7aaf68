#include "transitions/frame_worker.h"

#include "transitions/band_pool.h"
#include "transitions/style_table.h"

namespace kalmo::transitions {

FrameWorker::FrameWorker(std::function<void()> wake) : m_wake(std::move(wake)) {}

FrameWorker::~FrameWorker() {
    stop();
}

void FrameWorker::start(Start start) {
    std::unique_lock lock(m_mutex);
    if (m_running)
        return;
    if (m_thread.joinable()) { // a thread that ended by itself is still to be joined
        lock.unlock();
        m_thread.join();
        lock.lock();
    }
    m_stop = false;
    m_running = true;
    m_resumed = !start.setup;
    m_wakePosted = false;
    m_waiting = Delivery();
    m_oldPic = start.pictures.oldPic;
    m_oldPicChanged = false;
    m_style = start.style;
    m_thread = std::thread(&FrameWorker::run, this, std::move(start));
}

void FrameWorker::stop() {
    QImage unused;
    stop(unused);
}

FrameWorker::Delivery FrameWorker::stop(QImage &front) {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    Delivery rest = take(front);
    std::lock_guard lock(m_mutex);
    m_running = false;
    m_oldPic = QImage();
    return rest;
}

bool FrameWorker::running() const {
    std::lock_guard lock(m_mutex);
    return m_running;
}

void FrameWorker::resume(const QImage &oldPic) {
    {
        std::lock_guard lock(m_mutex);
        m_oldPic = oldPic;
        m_oldPicChanged = true;
        m_resumed = true;
    }
    m_changed.notify_all();
}

void FrameWorker::setStyle(int style) {
    std::lock_guard lock(m_mutex);
    m_style = style;
}

void FrameWorker::setOldPicture(const QImage &oldPic) {
    std::lock_guard lock(m_mutex);
    m_oldPic = oldPic;
    m_oldPicChanged = true;
}

FrameWorker::Delivery FrameWorker::take(QImage &front) {
    std::lock_guard lock(m_mutex);
    Delivery out = std::move(m_waiting);
    m_waiting = Delivery();
    if (out.hasFrame)
        std::swap(front, m_ready);
    m_wakePosted = false;
    return out;
}

bool FrameWorker::waitUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(m_mutex);
    return !m_changed.wait_until(lock, deadline, [this] { return m_stop; });
}

// Adds to what waits for the control and wakes it unless a wake is already on its way.
void FrameWorker::deliver(const std::function<void(Delivery &)> &fill, QImage *frame) {
    bool post = false;
    {
        std::lock_guard lock(m_mutex);
        fill(m_waiting);
        if (frame) {
            std::swap(*frame, m_ready);
            m_waiting.hasFrame = true;
        }
        post = !m_wakePosted && !m_stop;
        m_wakePosted = true;
    }
    if (post)
        m_wake();
}

void FrameWorker::run(Start start) {
    using Clock = std::chrono::steady_clock;
    TransitionPictures pictures = std::move(start.pictures);
    if (start.setup) {
        try {
            pictures = makeTransitionPictures(*start.setup);
        } catch (...) {
            deliver([error = std::current_exception()](Delivery &d) { d.error = error; });
            return;
        }
        start.setup.reset(); // the owner's picture is let go here, not in the control
        deliver([&pictures](Delivery &d) { d.prepared = pictures; });
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stop || m_resumed; });
        if (m_stop)
            return;
        start.lastTick = start.clock->tickMs();
    }

    core::Random random;
    QImage back;
    int progress = start.progress;
    if (start.pacing.delay <= 0) { // no period, no timer: the transition waits for a stop
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stop; });
        return;
    }
    const auto period = std::chrono::milliseconds(start.pacing.delay);
    auto deadline = Clock::now() + period;
    for (;;) {
        if (!waitUntil(deadline))
            break;
        const std::uint32_t now = start.clock->tickMs();
        const int next = nextProgress(progress, start.pacing, now - start.lastTick);
        start.lastTick = now;
        if (next != progress) {
            progress = next;
            int style = 0;
            {
                std::lock_guard lock(m_mutex);
                style = m_style;
                if (m_oldPicChanged) {
                    pictures.oldPic = m_oldPic;
                    m_oldPicChanged = false;
                }
            }
            const bool built = start.buildFrames;
            if (built)
                drawStyle(back, pictures.oldPic, pictures.pic, style, progress, start.seed, random,
                          false, start.pool);
            const bool last = isFinalProgress(progress, start.pacing.reverse);
            deliver(
                [progress, last](Delivery &d) {
                    d.steps.push_back(progress);
                    d.finished = last;
                },
                built ? &back : nullptr);
            if (last)
                break;
        }
        deadline += period;
        const auto late = Clock::now();
        if (deadline + period < late) // more than a whole period behind: start again from now
            deadline = late;
    }
}

} // namespace kalmo::transitions
