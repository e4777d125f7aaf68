#pragma once

#include <QObject>
#include <Qt>

namespace kalmo::web {

// Keys and mouse buttons that would make the engine leave, reload, print, save or
// inspect the page. Typing and editing keys stay live.
bool isEscapeKey(int key, Qt::KeyboardModifiers modifiers);
bool isEscapeMouseButton(Qt::MouseButton button);

// Swallows those keys and buttons on a web view and on the render widget the view
// creates inside itself. Installed on the view; follows new children.
class InputGuard : public QObject {
    Q_OBJECT
public:
    explicit InputGuard(QObject *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace kalmo::web
