#include "fleet/share_worker.h"

#include "core/log.h"

#include <QTimer>

namespace kalmo::fleet {

namespace {
const char *kindName(ShareWorker::Kind kind) {
    switch (kind) {
    case ShareWorker::Heartbeat:
        return "heartbeat";
    case ShareWorker::Notice:
        return "notice";
    case ShareWorker::Screenshot:
        return "screenshot";
    case ShareWorker::KindCount:
        break;
    }
    return "?";
}
} // namespace

ShareWorker::ShareWorker(int limitMs, QObject *parent) : QObject(parent), m_limitMs(limitMs) {
    m_watchdog = new QTimer(this);
    m_watchdog->setInterval(std::max(1000, limitMs / 2));
    connect(m_watchdog, &QTimer::timeout, this, &ShareWorker::checkHung);
}

ShareWorker::~ShareWorker() = default;

bool ShareWorker::idle() const {
    for (const bool b : m_busy)
        if (b)
            return false;
    return true;
}

void ShareWorker::start(Kind kind) {
    m_busy[kind] = true;
    m_reported[kind] = false;
    m_since[kind].start();
    if (!m_watchdog->isActive())
        m_watchdog->start();
}

void ShareWorker::finish(Kind kind) {
    if (m_reported[kind])
        qCInfo(lcFleet) << "the" << kindName(kind) << "job returned after"
                        << m_since[kind].elapsed() << "ms";
    m_busy[kind] = false;
    if (idle())
        m_watchdog->stop();
}

void ShareWorker::checkHung() {
    for (int k = 0; k < KindCount; ++k) {
        if (m_busy[k] && !m_reported[k] && m_since[k].elapsed() > m_limitMs) {
            m_reported[k] = true;
            qCWarning(lcFleet) << "the shared folder has not answered the" << kindName(Kind(k))
                               << "job for" << m_since[k].elapsed() << "ms";
        }
    }
}

} // namespace kalmo::fleet
