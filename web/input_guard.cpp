#include "web/input_guard.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kalmo::web {

bool isEscapeKey(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers mods =
        modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
    switch (key) {
    case Qt::Key_Back:
    case Qt::Key_Forward:
    case Qt::Key_Refresh:
    case Qt::Key_Reload:
    case Qt::Key_Stop:
    case Qt::Key_HomePage:
    case Qt::Key_Search:
    case Qt::Key_Favorites:
    case Qt::Key_OpenUrl:
    case Qt::Key_Print:
    case Qt::Key_F5:
    case Qt::Key_F11:
    case Qt::Key_F12:
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
        return mods == Qt::AltModifier;
    case Qt::Key_I:
    case Qt::Key_J:
    case Qt::Key_C:
        return mods == (Qt::ControlModifier | Qt::ShiftModifier);
    case Qt::Key_O:
    case Qt::Key_P:
    case Qt::Key_R:
    case Qt::Key_S:
    case Qt::Key_U:
    case Qt::Key_N:
    case Qt::Key_T:
    case Qt::Key_W:
        return mods.testFlag(Qt::ControlModifier);
    default:
        return false;
    }
}

bool isEscapeMouseButton(Qt::MouseButton button) {
    return button == Qt::BackButton || button == Qt::ForwardButton;
}

InputGuard::InputGuard(QObject *view) : QObject(view) {
    view->installEventFilter(this);
    for (QObject *child : view->children())
        child->installEventFilter(this);
}

bool InputGuard::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == parent()) {
            QObject *child = static_cast<QChildEvent *>(event)->child();
            if (child != this)
                child->installEventFilter(this);
        }
        return false;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isEscapeKey(key->key(), key->modifiers())) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return isEscapeMouseButton(static_cast<QMouseEvent *>(event)->button());
    default:
        return false;
    }
}

} // namespace kalmo::web
