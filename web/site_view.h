#pragma once

#include "web/browser.h"
#include "web/web_browser.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <functional>

namespace kalmo::core {
class IdleClock;
}

namespace kalmo::web {

// Read at each use, because a settings re-read may change them.
struct SiteViewSettings {
    std::function<QString()> siteAddress; // site/site
    std::function<int()> pageTimeout;     // time/page, seconds
};

// The institution's site shown over the host window: open and close, back, home and
// forward, and the idle close by Timer8. The host hides and shows its own controls on
// opened() and closed().
//
// The browser sits in a panel of its own above the host's controls, a child of the host like
// everything else of the kiosk, so that no display server has a window to place.
class SiteView : public QObject {
    Q_OBJECT
public:
    SiteView(QWidget *host, core::IdleClock &idle, SiteViewSettings settings,
             BrowserFactory factory = createWebBrowser);
    ~SiteView() override;

    // Where the browser covers the host, in the host's coordinates.
    void setBrowserArea(const QRect &area) { m_area = area; }
    QRect browserArea() const { return m_area; }

    bool isOpen() const { return m_browser.exists(); }
    Browser *browser() const { return m_browser.browser(); }
    // The panel the browser sits in while the view is open.
    QWidget *browserWindow() const { return m_window.data(); }
    // Timer8: 1000 ms, running from construction until its first idle firing.
    QTimer *idleTimer() { return &m_idleTimer; }

public slots:
    void open();
    // The closing steps; they run (and closed() comes) also when the view is not open.
    void close();
    void back();
    void home();
    void forward();
    // Timer8's tick: past the idle timeout the view closes (also when it is not open,
    // which then only restarts the slideshow) and the timer stops.
    void idleTick();

signals:
    void opened();
    void closed();

private:
    void destroyWindow();

    QWidget *m_host;
    core::IdleClock &m_idle;
    SiteViewSettings m_settings;
    BrowserSlot m_browser;
    QPointer<QWidget> m_window;
    QRect m_area;
    QTimer m_idleTimer;
};

} // namespace kalmo::web
