#pragma once

#include "web/browser.h"
#include "web/web_browser.h"

#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace kalmo::core {
class IdleClock;
}

namespace kalmo::web {

// The document window: a borderless full-screen window showing one attached file under a
// wide "Закрыть" button, closing itself after the idle timeout. Hidden, never destroyed,
// when it closes.
class TFormBrowser : public QWidget {
    Q_OBJECT
public:
    TFormBrowser(core::IdleClock &idle, std::function<int()> pageTimeout,
                 BrowserFactory factory = createWebBrowser, QWidget *parent = nullptr);

    // Shows the window modally on `path`. An empty path never opens it (returns false).
    bool openDocument(const QString &path);
    QString attachmentPath() const { return m_attachmentPath; }
    // A relative attachment path is taken from here (the kiosk's base folder).
    void setBaseFolder(const QString &folder) { m_baseFolder = folder; }

    Browser *browser() const { return m_browser.browser(); }
    QPushButton *closeButton() { return &m_closeButton; }
    // Timer1: 1000 ms, off until the window is shown.
    QTimer *idleTimer() { return &m_idleTimer; }

public slots:
    // Timer1's tick: past the idle timeout the window closes and the timer stops. The
    // close button leaves the timer running, so one more firing repeats the closing steps.
    void idleTick();

signals:
    // The caller's own idle close must wait while the document is up (the calendar).
    void callerIdlePaused();
    void callerIdleResumed();
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void runClosingSteps();

    core::IdleClock &m_idle;
    std::function<int()> m_pageTimeout;
    BrowserSlot m_browser;
    QString m_attachmentPath;
    QString m_baseFolder;
    QPushButton m_closeButton;
    QTimer m_idleTimer;
};

} // namespace kalmo::web
