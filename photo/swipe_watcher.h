#pragma once

#include <QObject>
#include <QPoint>
#include <optional>

class QWidget;

namespace kalmo::photo {

enum class Swipe { Left, Right };

// A press-to-release movement as a horizontal swipe: long enough and clearly more across
// than up or down. nullopt for taps, vertical and diagonal movements.
std::optional<Swipe> classifySwipe(QPoint from, QPoint to, int minDistance = 80);

// Watches one finger (or a mouse drag) anywhere inside one window and reports horizontal
// swipes. It never consumes an event.
class SwipeWatcher : public QObject {
    Q_OBJECT
public:
    explicit SwipeWatcher(QWidget *window);
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void swiped(kalmo::photo::Swipe swipe);

private:
    bool inWindow(QObject *watched) const;
    void end(QPoint globalPos);

    QWidget *m_window;
    std::optional<QPoint> m_start;
};

} // namespace kalmo::photo
