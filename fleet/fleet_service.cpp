#include "fleet/fleet_service.h"

#include "core/log.h"
#include "fleet/atomic_write.h"
#include "fleet/fleet_page.h"
#include "fleet/resident_memory.h"

#include <QDir>
#include <QFile>

namespace kalmo::fleet {

namespace {

struct PollResult {
    Notice notice;
    bool shotRequested = false;
};

// Heartbeat, then the page from every heartbeat present (this one included).
bool writeHeartbeatAndPage(Heartbeat beat, const QString &folder, const QString &beatPath,
                           const QString &pagePath) {
    beat.memoryMb = residentMemoryMb();
    if (!writeAtomically(beatPath, formatHeartbeat(beat)))
        return false;
    return writeAtomically(pagePath, buildFleetPage(readHeartbeats(folder), beat.updated));
}

PollResult pollShare(const QString &noticePath, const QString &shotPath) {
    PollResult result;
    result.notice = readNotice(noticePath);
    if (QFile::exists(shotPath)) {
        result.shotRequested = true;
        if (!QFile::remove(shotPath))
            qCWarning(lcFleet).noquote() << "cannot remove the screenshot request" << shotPath;
    }
    return result;
}

} // namespace

FleetService::FleetService(FleetServices services, QObject *parent)
    : QObject(parent), m_s(std::move(services)), m_started(m_s.clock.now()),
      m_source(m_s.screen.grab ? m_s.screen : defaultScreenSource()),
      m_grab(m_s.screenRect, kBandRows, m_source.grab),
      m_overlay(std::make_unique<NoticeOverlay>(m_s.screenRect)) {
    m_beatTimer.setInterval(kHeartbeatMs);
    m_pollTimer.setInterval(kPollMs);
    m_shotTimer.setInterval(kScreenshotMs);
    m_watchTimer.setInterval(kWatchMs);
    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(kChangeDelayMs);
    connect(&m_beatTimer, &QTimer::timeout, this, &FleetService::beat);
    connect(&m_pollTimer, &QTimer::timeout, this, &FleetService::poll);
    connect(&m_shotTimer, &QTimer::timeout, this, &FleetService::takeScreenshot);
    connect(&m_watchTimer, &QTimer::timeout, this, &FleetService::watch);
    connect(&m_changeTimer, &QTimer::timeout, this, &FleetService::beat);
    connect(&m_grab, &BandedGrab::finished, this, &FleetService::encodeAndWrite);
}

FleetService::~FleetService() = default;

void FleetService::start() {
    m_lastScreen = reportedScreen();
    m_lastPhoto = m_s.photo ? m_s.photo() : QString();
    m_beatTimer.start();
    m_pollTimer.start();
    m_shotTimer.start();
    m_watchTimer.start();
    beat();
    poll();
    QTimer::singleShot(kFirstScreenshotMs, this, &FleetService::takeScreenshot);
}

void FleetService::setAsleep(bool asleep) {
    if (m_asleep == asleep)
        return;
    m_asleep = asleep;
    scheduleBeat();
}

QString FleetService::kiosksFolder() const {
    return m_s.dataFolder() + QStringLiteral("kiosks/");
}
QString FleetService::heartbeatPath() const {
    return kiosksFolder() + m_s.name + QStringLiteral(".ini");
}
QString FleetService::screenshotPath() const {
    return kiosksFolder() + m_s.name + QStringLiteral(".jpg");
}
QString FleetService::shotRequestPath() const {
    return kiosksFolder() + m_s.name + QStringLiteral(".shot");
}
QString FleetService::pagePath() const {
    return kiosksFolder() + QStringLiteral("index.html");
}
QString FleetService::noticePath() const {
    return m_s.dataFolder() + QStringLiteral("notice.txt");
}

QString FleetService::reportedScreen() const {
    // The notice wakes a sleeping kiosk, so it wins over the schedule.
    if (m_overlay->isShowing())
        return QStringLiteral("notice");
    if (m_asleep)
        return QStringLiteral("off");
    const QString shown = m_s.shown ? m_s.shown() : QString();
    return shown.isEmpty() ? QStringLiteral("main") : shown;
}

Heartbeat FleetService::currentHeartbeat() const {
    Heartbeat beat;
    beat.name = m_s.name;
    beat.version = m_s.version;
    beat.started = m_started;
    beat.updated = m_s.clock.now();
    beat.screen = reportedScreen();
    beat.photo = m_s.photo ? m_s.photo() : QString();
    beat.notice = m_overlay->isShowing() ? m_overlay->notice().checksum : QString();
    beat.error = m_s.lastProblem ? m_s.lastProblem() : QString();
    return beat;
}

void FleetService::beat() {
    m_changeTimer.stop();
    const Heartbeat beat = currentHeartbeat();
    const QString folder = kiosksFolder();
    const QString beatPath = heartbeatPath();
    const QString page = pagePath();
    const bool started = m_worker.run<bool>(
        ShareWorker::Heartbeat,
        [beat, folder, beatPath, page] {
            return writeHeartbeatAndPage(beat, folder, beatPath, page);
        },
        [this](bool ok) {
            if (ok)
                emit heartbeatWritten();
            if (m_beatAgain) {
                m_beatAgain = false;
                scheduleBeat();
            }
        });
    // A change while the last one is still being written goes out right after it.
    if (!started)
        m_beatAgain = true;
}

void FleetService::scheduleBeat() {
    if (!m_changeTimer.isActive())
        m_changeTimer.start();
}

void FleetService::watch() {
    const QString screen = reportedScreen();
    const QString photo = m_s.photo ? m_s.photo() : QString();
    if (screen != m_lastScreen || photo != m_lastPhoto) {
        m_lastScreen = screen;
        m_lastPhoto = photo;
        scheduleBeat();
    }
}

void FleetService::poll() {
    const QString notice = noticePath();
    const QString shot = shotRequestPath();
    m_worker.run<PollResult>(
        ShareWorker::Notice, [notice, shot] { return pollShare(notice, shot); },
        [this](PollResult result) {
            applyNotice(result.notice);
            if (result.shotRequested)
                takeScreenshot();
        });
}

void FleetService::applyNotice(const Notice &notice) {
    const bool wasShowing = m_overlay->isShowing();
    if (notice.shown) {
        if (!wasShowing || !(notice == m_overlay->notice()))
            qCInfo(lcFleet).noquote() << "showing the notice" << notice.checksum;
        m_overlay->showNotice(notice);
        if (!wasShowing)
            emit noticeShown();
    } else if (wasShowing) {
        qCInfo(lcFleet) << "the notice was taken away";
        m_overlay->hideNotice();
        emit noticeGone();
    }
    watch();
}

void FleetService::takeScreenshot() {
    if (m_worker.busy(ShareWorker::Screenshot) || m_grab.running())
        return;
    if (m_source.anyThread)
        grabEncodeAndWrite();
    else
        m_grab.start();
}

void FleetService::grabEncodeAndWrite() {
    const QString path = screenshotPath();
    const BandGrabber grab = m_source.grab;
    const QRect screen = m_s.screenRect;
    m_worker.run<bool>(
        ShareWorker::Screenshot,
        [grab, screen, path] {
            const QImage whole = grab(screen);
            if (whole.isNull())
                return false;
            const QByteArray jpeg = encodeScreenshot({whole});
            return !jpeg.isEmpty() && writeAtomically(path, jpeg);
        },
        [this](bool ok) {
            if (ok)
                emit screenshotWritten();
        });
}

void FleetService::encodeAndWrite(const QList<QImage> &bands) {
    const QString path = screenshotPath();
    m_worker.run<bool>(
        ShareWorker::Screenshot,
        [bands, path] {
            const QByteArray jpeg = encodeScreenshot(bands);
            return !jpeg.isEmpty() && writeAtomically(path, jpeg);
        },
        [this](bool ok) {
            if (ok)
                emit screenshotWritten();
        });
}

} // namespace kalmo::fleet
