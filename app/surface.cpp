#include "app/surface.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace kalmo::app {

Surface::Surface(QSize size, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_overlays(new OverlayStack(this)) {
    setObjectName(QStringLiteral("Surface"));
    setWindowTitle(QStringLiteral("Kalmo"));
    setGeometry(QRect(QPoint(0, 0), size));
}

void Surface::setPage(QWidget *page) {
    m_page = page;
    page->setParent(this, Qt::Widget);
    page->setGeometry(rect());
    page->lower();
    m_overlays->setPage(page);
    page->setFocus(Qt::OtherFocusReason);
}

void Surface::keyPressEvent(QKeyEvent *event) {
    const auto mods =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    if (QWidget *top = m_overlays->top()) {
        if (event->key() == Qt::Key_F4 && mods == Qt::AltModifier) {
            top->close();
            return;
        }
        QWidget::keyPressEvent(event);
        return;
    }
    // Only a key nobody had the focus for: one the page let pass must not come round again.
    QWidget *focus = focusWidget();
    if (m_page && (!focus || focus == this)) {
        QCoreApplication::sendEvent(m_page, event);
        return;
    }
    QWidget::keyPressEvent(event);
}

void Surface::closeEvent(QCloseEvent *event) {
    // The page closed itself for good (the right password): the window goes with it.
    if (!m_page || m_page->isHidden()) {
        event->accept();
        return;
    }
    event->ignore();
    // A window manager's close (GNOME's Alt+F4) goes to what is in front, as it would to a
    // window of its own; the page answers it by asking for the password.
    if (QWidget *top = m_overlays->top())
        top->close();
    else if (m_page->close())
        event->accept();
}

} // namespace kalmo::app
