#pragma once

#include "core/clock.h"
#include "fleet/heartbeat.h"
#include "fleet/notice.h"
#include "fleet/notice_overlay.h"
#include "fleet/screenshot.h"
#include "fleet/share_worker.h"

#include <QDateTime>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>
#include <memory>

namespace kalmo::fleet {

// What the fleet is handed by the application.
struct FleetServices {
    QString name;    // the kiosk's name (kioskName)
    QString version; // the program's version
    const core::Clock &clock;
    // The folder of the main settings file in force, ending with '/': the fleet's meeting
    // place. Read on the GUI thread, so it must not touch the file system.
    std::function<QString()> dataFolder;
    // What the kiosk shows (main, site, calendar…) and the photo on the main screen; asked
    // every second, so they must be cheap.
    std::function<QString()> shown;
    std::function<QString()> photo;
    // The program's last warning or error; may be empty.
    std::function<QString()> lastProblem;
    QRect screenRect;    // the screen the kiosk fills
    ScreenSource screen; // empty: defaultScreenSource()
};

// The kiosk's part in the fleet: its heartbeat and screenshot in `kiosks/`, the fleet page,
// and the urgent notice of `notice.txt`. Every file system call runs on a ShareWorker; the
// GUI thread only decides and shows.
class FleetService : public QObject {
    Q_OBJECT
public:
    static constexpr int kHeartbeatMs = 60 * 1000;
    static constexpr int kPollMs = 5 * 1000; // notice and screenshot requests
    static constexpr int kScreenshotMs = 5 * 60 * 1000;
    static constexpr int kFirstScreenshotMs = 15 * 1000; // after the first paint
    static constexpr int kChangeDelayMs = 1000;          // a change reported within this
    static constexpr int kWatchMs = 1000;
    static constexpr int kBandRows = 120;

    explicit FleetService(FleetServices services, QObject *parent = nullptr);
    ~FleetService() override;

    // Starts the timers, writes the first heartbeat and looks for a notice at once.
    void start();

    // The display schedule's state: an asleep kiosk reports screen=off.
    void setAsleep(bool asleep);

    QString kiosksFolder() const;
    QString heartbeatPath() const;
    QString screenshotPath() const;
    QString noticePath() const;
    QString pagePath() const;
    QString shotRequestPath() const;

    // What the next heartbeat says, without memory (measured on the worker).
    Heartbeat currentHeartbeat() const;
    QString reportedScreen() const;

    // Timer handlers, public so that tests drive them.
    void beat();
    void poll();
    void takeScreenshot();
    void watch();

    // A notice as read by a poll: shown, changed or taken away.
    void applyNotice(const Notice &notice);

    NoticeOverlay &overlay() { return *m_overlay; }
    const Notice &notice() const { return m_overlay->notice(); }
    ShareWorker &worker() { return m_worker; }
    BandedGrab &grab() { return m_grab; }
    QTimer &heartbeatTimer() { return m_beatTimer; }
    QTimer &pollTimer() { return m_pollTimer; }
    QTimer &screenshotTimer() { return m_shotTimer; }

signals:
    void noticeShown();      // a notice appeared (not when it only changed)
    void noticeGone();       // the notice was taken away
    void heartbeatWritten(); // after the heartbeat and the page are written
    void screenshotWritten();

private:
    void scheduleBeat();
    void encodeAndWrite(const QList<QImage> &bands);
    void grabEncodeAndWrite();

    FleetServices m_s;
    QDateTime m_started;
    bool m_asleep = false;
    bool m_beatAgain = false;
    QString m_lastScreen;
    QString m_lastPhoto;
    ShareWorker m_worker;
    ScreenSource m_source;
    BandedGrab m_grab;
    std::unique_ptr<NoticeOverlay> m_overlay;
    QTimer m_beatTimer;
    QTimer m_pollTimer;
    QTimer m_shotTimer;
    QTimer m_watchTimer;
    QTimer m_changeTimer;
};

} // namespace kalmo::fleet
