#pragma once

#include <QWidget>

namespace kalmo::power {

// Black over the whole screen while the kiosk sleeps, where the display cannot be switched
// off (and behind the switched-off display, so that it wakes black). The kiosk's window
// holds it as its topmost overlay.
class SleepCover : public QWidget {
    Q_OBJECT
public:
    explicit SleepCover(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kalmo::power
