#include "transitions/band_pool.h"

#include <algorithm>

namespace kalmo::transitions {

BandPool::BandPool(int helpers) {
    for (int i = 0; i < helpers; ++i)
        m_threads.emplace_back(&BandPool::work, this);
}

BandPool::~BandPool() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    for (std::thread &t : m_threads)
        t.join();
}

int BandPool::defaultHelpers() {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores - 1, 0, 3);
}

bool BandPool::takeBand(int &band) {
    if (!m_job || m_next >= m_count)
        return false;
    band = m_next++;
    return true;
}

void BandPool::run(int count, const std::function<void(int)> &job) {
    if (count <= 0)
        return;
    if (m_threads.empty() || count == 1) {
        for (int i = 0; i < count; ++i)
            job(i);
        return;
    }
    std::lock_guard runLock(m_runMutex);
    std::unique_lock lock(m_mutex);
    m_job = &job;
    m_count = count;
    m_next = 0;
    m_finished = 0;
    ++m_round;
    m_wake.notify_all();
    int band = 0;
    while (takeBand(band)) {
        lock.unlock();
        job(band);
        lock.lock();
        ++m_finished;
    }
    m_done.wait(lock, [this] { return m_finished == m_count; });
    m_job = nullptr;
}

void BandPool::work() {
    unsigned seen = 0;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_stop || (m_job && m_round != seen); });
        if (m_stop)
            return;
        seen = m_round;
        int band = 0;
        while (takeBand(band)) {
            const std::function<void(int)> &job = *m_job;
            lock.unlock();
            job(band);
            lock.lock();
            if (++m_finished == m_count)
                m_done.notify_all();
        }
    }
}

} // namespace kalmo::transitions
