#pragma once

#include "app/overlay_stack.h"

#include <QPointer>
#include <QSize>
#include <QWidget>

namespace kalmo::app {

// The kiosk's only top-level window: borderless and the size of the screen, so that no
// display server, X11 or Wayland, has anything to place or stack. The main screen is its
// page; every other screen, dialog and message box is one of its overlays.
class Surface : public QWidget {
    Q_OBJECT
public:
    explicit Surface(QSize size, QWidget *parent = nullptr);

    // The main screen, made a child at the window's full size.
    void setPage(QWidget *page);
    QWidget *page() const { return m_page; }
    OverlayStack &overlays() { return *m_overlays; }

protected:
    // With nothing focused, keys go to the page; with an overlay in front, Alt+F4 closes
    // that overlay, as a window manager would have.
    void keyPressEvent(QKeyEvent *event) override;
    // The window closes only with its page (the main screen asks for the password first).
    void closeEvent(QCloseEvent *event) override;

private:
    OverlayStack *m_overlays;
    QPointer<QWidget> m_page;
};

} // namespace kalmo::app
