#include "power/wake_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTouchEvent>

namespace kalmo::power {

namespace {

bool isMouse(QEvent::Type t) {
    return t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
           t == QEvent::MouseButtonDblClick || t == QEvent::MouseMove;
}

bool isTouch(QEvent::Type t) {
    return t == QEvent::TouchBegin || t == QEvent::TouchUpdate || t == QEvent::TouchEnd ||
           t == QEvent::TouchCancel;
}

bool isKey(QEvent::Type t) {
    return t == QEvent::KeyPress || t == QEvent::KeyRelease || t == QEvent::ShortcutOverride;
}

bool isInput(QEvent::Type t) {
    return isMouse(t) || isTouch(t) || isKey(t) || t == QEvent::Wheel || t == QEvent::TabletPress ||
           t == QEvent::TabletRelease || t == QEvent::TabletMove || t == QEvent::NativeGesture ||
           t == QEvent::Gesture;
}

bool synthesized(QEvent *event) {
    return static_cast<QMouseEvent *>(event)->source() != Qt::MouseEventNotSynthesized;
}

bool swallow(QEvent *event) {
    event->accept();
    return true;
}

} // namespace

WakeFilter::WakeFilter(QObject *parent) : QObject(parent) {}

WakeFilter::~WakeFilter() {
    if (m_installed && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void WakeFilter::setArmed(bool armed) {
    m_armed = armed;
    // Installed only while needed: a filter on every event of the application costs a little
    // on every event.
    QCoreApplication *app = QCoreApplication::instance();
    const bool wanted = m_armed || m_sequence != Sequence::None;
    if (app && wanted != m_installed) {
        if (wanted)
            app->installEventFilter(this);
        else
            app->removeEventFilter(this);
        m_installed = wanted;
    }
}

void WakeFilter::startSequence(Sequence sequence, QEvent *event) {
    m_sequence = sequence;
    if (sequence == Sequence::Key)
        m_key = static_cast<QKeyEvent *>(event)->key();
    m_armed = false;
    emit woken();
}

// The rest of a sequence whose press woke the kiosk. True while the event belongs to it.
bool WakeFilter::swallowSequence(QEvent *event) {
    const QEvent::Type t = event->type();
    switch (m_sequence) {
    case Sequence::None:
        return false;
    case Sequence::Mouse:
        if (!isMouse(t))
            return false;
        if (t == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton)
            m_sequence = Sequence::None;
        return true;
    case Sequence::Touch:
        if (isTouch(t)) {
            if (t == QEvent::TouchEnd || t == QEvent::TouchCancel)
                m_sequence = Sequence::TouchMouse;
            return true;
        }
        // The mouse events Qt makes from the touch go with it.
        return isMouse(t) && synthesized(event);
    case Sequence::TouchMouse:
        // After the finger is up, only the mouse events made from its touch are left.
        if (isMouse(t) && synthesized(event) && t != QEvent::MouseButtonPress)
            return true;
        m_sequence = Sequence::None;
        return false;
    case Sequence::Key:
        if (!isKey(t))
            return false;
        if (t == QEvent::KeyRelease) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (!key->isAutoRepeat() && key->key() == m_key)
                m_sequence = Sequence::None;
        }
        return true;
    }
    return false;
}

bool WakeFilter::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type t = event->type();
    if (m_sequence != Sequence::None) {
        const bool mine = swallowSequence(event);
        if (m_sequence == Sequence::None && !m_armed)
            setArmed(false); // nothing left to watch
        if (mine)
            return swallow(event);
    }
    if (!m_armed || !isInput(t))
        return QObject::eventFilter(watched, event);
    if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick)
        startSequence(synthesized(event) ? Sequence::TouchMouse : Sequence::Mouse, event);
    else if (t == QEvent::TouchBegin)
        startSequence(Sequence::Touch, event);
    else if (t == QEvent::KeyPress)
        startSequence(Sequence::Key, event);
    return swallow(event);
}

} // namespace kalmo::power
