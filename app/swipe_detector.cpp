#include "app/swipe_detector.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTouchEvent>
#include <QWidget>
#include <cstdlib>

namespace kalmo::app {

std::optional<SwipeDirection> classifySwipe(QPoint from, QPoint to, int minDistance) {
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const int ax = std::abs(dx), ay = std::abs(dy);
    if (ax >= minDistance && ax >= 2 * ay)
        return dx < 0 ? SwipeDirection::Left : SwipeDirection::Right;
    if (ay >= minDistance && ay >= 2 * ax)
        return dy < 0 ? SwipeDirection::Up : SwipeDirection::Down;
    return std::nullopt;
}

SwipeDetector::SwipeDetector(QWidget *window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

bool SwipeDetector::inWindow(QObject *watched) const {
    auto *w = qobject_cast<QWidget *>(watched);
    return w && w->window() == m_window;
}

void SwipeDetector::begin(QPoint globalPos) {
    m_start = globalPos;
}

void SwipeDetector::end(QPoint globalPos) {
    if (!m_start)
        return;
    const QPoint from = *m_start;
    m_start.reset();
    if (auto direction = classifySwipe(from, globalPos))
        emit swiped(*direction);
}

bool SwipeDetector::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        // The event reaches the application filter once per widget it propagates through;
        // only the first widget that sees it counts.
        if (!inWindow(watched) || !static_cast<QWidget *>(watched)->isVisible())
            break;
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            break;
        if (event->type() == QEvent::MouseButtonPress)
            begin(me->globalPosition().toPoint());
        else
            end(me->globalPosition().toPoint());
        break;
    }
    case QEvent::TouchBegin:
    case QEvent::TouchEnd: {
        if (!inWindow(watched))
            break;
        auto *te = static_cast<QTouchEvent *>(event);
        if (te->points().size() != 1) {
            m_start.reset(); // two fingers are not a swipe
            break;
        }
        const QPoint pos = te->points().first().globalPosition().toPoint();
        if (event->type() == QEvent::TouchBegin)
            begin(pos);
        else
            end(pos);
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kalmo::app
