#include "media/background_jobs.h"

#include "core/background_thread.h"
#include "core/log.h"

#include <thread>

namespace kalmo::media {

BackgroundJobs::BackgroundJobs(std::chrono::milliseconds timeLimit, QObject *parent)
    : QObject(parent), m_shared(std::make_shared<Shared>()), m_timeLimit(timeLimit) {
    m_shared->owner = this;
}

BackgroundJobs::~BackgroundJobs() {
    std::lock_guard lock(m_shared->mutex);
    m_shared->owner = nullptr;
}

int BackgroundJobs::inFlight() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->inFlight;
}

bool BackgroundJobs::reserve() {
    std::lock_guard lock(m_shared->mutex);
    if (m_shared->inFlight >= kMaxInFlight) {
        qCWarning(kalmo::lcPhoto) << "File system jobs still hang:" << m_shared->inFlight;
        return false;
    }
    ++m_shared->inFlight;
    return true;
}

void BackgroundJobs::startThread(std::function<void()> work) {
    std::thread([work = std::move(work)] {
        core::yieldToTheGuiThread();
        work();
    }).detach();
}

} // namespace kalmo::media
