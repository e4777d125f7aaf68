#pragma once

#include <QObject>

namespace kalmo::core {

// Keeps Escape from closing a window: a screen closes only by its own controls (and the idle
// close), so a visitor's keyboard cannot bypass them and the settings keep unsaved edits.
// Installed on the window; the key still reaches the focused control first.
class EscapeGuard : public QObject {
    Q_OBJECT
public:
    explicit EscapeGuard(QObject *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace kalmo::core
