#pragma once

#include "core/messages.h"

#include <QObject>

class QMessageBox;
class QWidget;

namespace kalmo::app {

class OverlayStack;

// Message boxes on screen. Non-blocking, so the kiosk's timers and screens keep running
// behind an unanswered box.
//
// A box must be seen on a kiosk whose screens fill the window: it is an overlay of the
// kiosk's window in the layer above every screen, in its middle, takes the focus, and one
// tap anywhere on it dismisses it. A message raised during start-up, before the window is
// on screen, shows with the window.
class WidgetMessages : public QObject, public core::Messages {
    Q_OBJECT
public:
    explicit WidgetMessages(OverlayStack &overlays, QObject *parent = nullptr);
    ~WidgetMessages() override;

    void show(const QString &text, const QString &title = QString()) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMessageBox *present(const QString &text, const QString &title);

    OverlayStack &m_overlays;
};

} // namespace kalmo::app
