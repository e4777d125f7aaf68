#pragma once

#include "core/messages.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QMessageBox;
class QWidget;

namespace kalmo::app {

// Message boxes on screen. Non-blocking, so the kiosk's timers and screens keep running
// behind an unanswered box.
//
// A box must be seen on a kiosk whose windows fill the screen: it stands above the window
// in front (the open modal window, else the host), stays on top, takes the focus, and one
// tap anywhere on it dismisses it. Messages raised during start-up, before the main window
// has been shown, wait and are shown right after it: before a host is set, the first
// window shown counts as the main window.
class WidgetMessages : public QObject, public core::Messages {
    Q_OBJECT
public:
    explicit WidgetMessages(QObject *parent = nullptr);
    ~WidgetMessages() override;

    // The main window, when known: held messages wait for this very window to show.
    void setHost(QWidget *host);

    void show(const QString &text, const QString &title = QString()) override;

    // Messages waiting for the host to show.
    int heldCount() const { return int(m_held.size()); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Held {
        QString text;
        QString title;
    };
    // The window a box goes above; nullptr while nothing of the kiosk is on screen.
    QWidget *frontWindow() const;
    void showHeld();
    QMessageBox *present(const QString &text, const QString &title);

    QPointer<QWidget> m_host;
    QList<Held> m_held;
};

} // namespace kalmo::app
