#include "core/escape_guard.h"

#include <QKeyEvent>

namespace kalmo::core {

EscapeGuard::EscapeGuard(QObject *window) : QObject(window) {
    window->installEventFilter(this);
}

bool EscapeGuard::eventFilter(QObject *watched, QEvent *event) {
    if (watched == parent() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return false;
}

} // namespace kalmo::core
