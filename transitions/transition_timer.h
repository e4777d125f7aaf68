#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kalmo::transitions {

// A periodic timer on a thread of its own, one per running transition. Ticks are paced on
// the steady clock from the previous deadline, so late ticks are caught up instead of
// drifting (a tick later than a whole period restarts the schedule from now).
class TransitionTimer {
public:
    // Called on the timer thread; returning false ends the timer from inside.
    using Tick = std::function<bool()>;

    TransitionTimer() = default;
    ~TransitionTimer();
    TransitionTimer(const TransitionTimer &) = delete;
    TransitionTimer &operator=(const TransitionTimer &) = delete;

    // Starts ticking every `periodMs` (> 0). Does nothing while a timer runs.
    void start(int periodMs, Tick tick);
    // Ends the timer. From any other thread it waits until a tick in progress has returned
    // and the thread is gone; from the timer thread itself it only asks it to end.
    void stop();
    bool running() const;

private:
    void run(std::chrono::milliseconds period, Tick tick);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_running = false;
    std::thread m_thread;
};

} // namespace kalmo::transitions
