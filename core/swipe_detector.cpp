#include "core/swipe_detector.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTouchEvent>
#include <cstdlib>

namespace kalmo::core {

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

SwipeDetector::SwipeDetector(QObject *owner, std::function<bool(QObject *)> inWindow)
    : QObject(owner), m_inWindow(std::move(inWindow)) {
    QCoreApplication::instance()->installEventFilter(this);
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
        // The event passes this filter once for every widget it propagates through; the
        // release ends the movement the first time, so later passes find nothing to end.
        if (!m_inWindow(watched))
            break;
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            break;
        if (event->type() == QEvent::MouseButtonPress)
            m_start = me->globalPosition().toPoint();
        else
            end(me->globalPosition().toPoint());
        break;
    }
    case QEvent::TouchBegin:
    case QEvent::TouchEnd: {
        if (!m_inWindow(watched))
            break;
        auto *te = static_cast<QTouchEvent *>(event);
        if (te->points().size() != 1) {
            m_start.reset(); // two fingers are not a swipe
            break;
        }
        const QPoint pos = te->points().first().globalPosition().toPoint();
        if (event->type() == QEvent::TouchBegin)
            m_start = pos;
        else
            end(pos);
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kalmo::core
