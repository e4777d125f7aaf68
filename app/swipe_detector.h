#pragma once

#include "app/swipe_direction.h"

#include <QObject>
#include <QPoint>
#include <optional>

class QWidget;

namespace kalmo::app {

// A single finger's press-to-release movement as a swipe: long enough along one axis and
// clearly more along it than across it. nullopt for taps and diagonal wanders.
std::optional<SwipeDirection> classifySwipe(QPoint from, QPoint to, int minDistance = 80);

// Watches mouse and single-finger touch input anywhere inside one window and reports swipes.
// A mouse drag on a desktop works like a finger. It never consumes an event.
class SwipeDetector : public QObject {
    Q_OBJECT
public:
    explicit SwipeDetector(QWidget *window);
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void swiped(kalmo::app::SwipeDirection direction);

private:
    bool inWindow(QObject *watched) const;
    void begin(QPoint globalPos);
    void end(QPoint globalPos);

    QWidget *m_window;
    std::optional<QPoint> m_start;
};

} // namespace kalmo::app
