#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

namespace kalmo::core {

enum class SwipeDirection { Left, Right, Up, Down };

// A single finger's press-to-release movement as a swipe: long enough along one axis and
// clearly more along it than across it. nullopt for taps and diagonal wanders.
std::optional<SwipeDirection> classifySwipe(QPoint from, QPoint to, int minDistance = 80);

// Watches mouse and single-finger touch input anywhere inside one window and reports swipes.
// A mouse drag on a desktop works like a finger. It never consumes an event.
class SwipeDetector : public QObject {
    Q_OBJECT
public:
    // `inWindow` says whether an object that received an input event is a visible part of the
    // watched window; the detector lives as long as `owner`.
    SwipeDetector(QObject *owner, std::function<bool(QObject *)> inWindow);
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void swiped(kalmo::core::SwipeDirection direction);

private:
    void end(QPoint globalPos);

    std::function<bool(QObject *)> m_inWindow;
    std::optional<QPoint> m_start;
};

} // namespace kalmo::core
