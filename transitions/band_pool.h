#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace kalmo::transitions {

// A few threads that build the bands of one frame side by side. The calling thread takes a
// band too, so a pool of n helpers works on n + 1 bands at once.
class BandPool {
public:
    explicit BandPool(int helpers);
    ~BandPool();
    BandPool(const BandPool &) = delete;
    BandPool &operator=(const BandPool &) = delete;

    int helpers() const { return static_cast<int>(m_threads.size()); }
    // Calls job(0) .. job(count - 1), each once, spread over the helpers and the caller, and
    // returns when all have returned. One run at a time per pool.
    void run(int count, const std::function<void(int)> &job);

    // A pool sized for this machine: one helper per further processor, at most three.
    static int defaultHelpers();

private:
    void work();
    bool takeBand(int &band);

    std::mutex m_mutex;
    std::condition_variable m_wake, m_done;
    const std::function<void(int)> *m_job = nullptr;
    int m_count = 0, m_next = 0, m_finished = 0;
    unsigned m_round = 0;
    bool m_stop = false;
    std::mutex m_runMutex;
    std::vector<std::thread> m_threads;
};

} // namespace kalmo::transitions
