#include "photo/swipe_watcher.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTouchEvent>
#include <QWidget>
#include <cstdlib>

namespace kalmo::photo {

std::optional<Swipe> classifySwipe(QPoint from, QPoint to, int minDistance) {
    const int dx = to.x() - from.x();
    const int ax = std::abs(dx), ay = std::abs(to.y() - from.y());
    if (ax >= minDistance && ax >= 2 * ay)
        return dx < 0 ? Swipe::Left : Swipe::Right;
    return std::nullopt;
}

SwipeWatcher::SwipeWatcher(QWidget *window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

bool SwipeWatcher::inWindow(QObject *watched) const {
    auto *w = qobject_cast<QWidget *>(watched);
    return w && w->isVisible() && w->window() == m_window;
}

void SwipeWatcher::end(QPoint globalPos) {
    if (!m_start)
        return;
    const QPoint from = *m_start;
    m_start.reset();
    if (auto swipe = classifySwipe(from, globalPos))
        emit swiped(*swipe);
}

bool SwipeWatcher::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        // The event passes this filter once for every widget it propagates through; the
        // release ends the movement the first time, so later passes find nothing to end.
        if (!inWindow(watched))
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
        if (!inWindow(watched))
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

} // namespace kalmo::photo
