#pragma once

#include <QObject>

namespace kalmo::power {

// Installed on the application while the kiosk sleeps: the first touch, click or key wakes
// it and does nothing else. The whole press-to-release sequence goes nowhere, so the button
// under the finger is never pressed and no swipe starts; other input while asleep is
// dropped too.
class WakeFilter : public QObject {
    Q_OBJECT
public:
    explicit WakeFilter(QObject *parent = nullptr);
    ~WakeFilter() override;

    // Armed: the next press wakes. Disarming lets a sequence already begun run to its end
    // (its release is still swallowed).
    void setArmed(bool armed);
    bool armed() const { return m_armed; }

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // Emitted once per waking press, after the press has been swallowed.
    void woken();

private:
    enum class Sequence { None, Mouse, Touch, Key, TouchMouse };
    bool swallowSequence(QEvent *event);
    void startSequence(Sequence sequence, QEvent *event);

    bool m_armed = false;
    bool m_installed = false;
    Sequence m_sequence = Sequence::None;
    int m_key = 0;
};

} // namespace kalmo::power
