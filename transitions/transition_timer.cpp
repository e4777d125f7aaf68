#include "transitions/transition_timer.h"

namespace kalmo::transitions {

TransitionTimer::~TransitionTimer() {
    stop();
}

void TransitionTimer::start(int periodMs, Tick tick) {
    if (periodMs <= 0)
        return;
    std::unique_lock lock(m_mutex);
    if (m_running)
        return;
    // A thread that ended itself is still to be joined.
    if (m_thread.joinable()) {
        lock.unlock();
        m_thread.join();
        lock.lock();
    }
    m_stop = false;
    m_running = true;
    m_thread = std::thread(&TransitionTimer::run, this, std::chrono::milliseconds(periodMs),
                           std::move(tick));
}

void TransitionTimer::stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

bool TransitionTimer::running() const {
    std::lock_guard lock(m_mutex);
    return m_running;
}

void TransitionTimer::run(std::chrono::milliseconds period, Tick tick) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + period;
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            if (m_wake.wait_until(lock, deadline, [this] { return m_stop; }))
                break;
        }
        if (!tick())
            break;
        deadline += period;
        const auto now = Clock::now();
        if (deadline + period < now)
            deadline = now;
    }
    std::lock_guard lock(m_mutex);
    m_running = false;
}

} // namespace kalmo::transitions
