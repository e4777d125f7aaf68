#include "core/idle_clock.h"

#include <QEvent>

namespace kalmo::core {

IdleClock::IdleClock(const Clock &clock, QObject *parent)
    : QObject(parent), m_clock(clock), m_lastInput(clock.tickMs()) {}

bool IdleClock::isInputEvent(int eventType) {
    switch (eventType) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

bool IdleClock::eventFilter(QObject *watched, QEvent *event) {
    if (isInputEvent(event->type()))
        touch();
    return QObject::eventFilter(watched, event);
}

} // namespace kalmo::core
