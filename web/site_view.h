#pragma once

#include "web/browser.h"
#include "web/web_browser.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace kalmo::core {
class IdleClock;
}

namespace kalmo::web {

// The main window's widgets the site view drives. All belong to the main window.
struct SiteViewWidgets {
    QWidget *host = nullptr;          // the main window; the browser goes on it
    QWidget *closeButton = nullptr;   // Button26, "ЗАКРЫТЬ  "
    QWidget *backButton = nullptr;    // SpeedButton1
    QWidget *homeButton = nullptr;    // SpeedButton2
    QWidget *forwardButton = nullptr; // SpeedButton3
    QList<QWidget *> mainControls;    // SpeedButton10, Raspisanie1, Raspisanie3, Panel3,
                                      // Panel1, Button21, Button22
    QTimer *slideshowTimer = nullptr; // Timer1
};

// Read at each use, because a settings re-read may change them.
struct SiteViewSettings {
    std::function<QString()> siteAddress; // site/site
    std::function<int()> pageTimeout;     // time/page, seconds
};

// The main window turned into a browser of the institution's site: open and close,
// back, home and forward, and the idle close by Timer8.
class SiteView : public QObject {
    Q_OBJECT
public:
    SiteView(SiteViewWidgets widgets, core::IdleClock &idle, SiteViewSettings settings,
             BrowserFactory factory = createWebBrowser);

    bool isOpen() const { return m_browser.exists(); }
    Browser *browser() const { return m_browser.browser(); }
    // Timer8: 1000 ms, running from construction until its first idle firing.
    QTimer *idleTimer() { return &m_idleTimer; }

public slots:
    void open();
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
    void setViewControlsVisible(bool visible);

    SiteViewWidgets m_widgets;
    core::IdleClock &m_idle;
    SiteViewSettings m_settings;
    BrowserSlot m_browser;
    QTimer m_idleTimer;
};

} // namespace kalmo::web
