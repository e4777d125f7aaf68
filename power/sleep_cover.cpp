#include "power/sleep_cover.h"

#include <QPaintEvent>
#include <QPainter>

namespace kalmo::power {

SleepCover::SleepCover(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SleepCover"));
    setAccessibleName(QStringLiteral("SleepCover"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_AcceptTouchEvents);
    setCursor(Qt::BlankCursor);
    if (parent)
        setGeometry(parent->rect());
    hide();
}

void SleepCover::paintEvent(QPaintEvent *event) {
    QPainter(this).fillRect(event->rect(), Qt::black);
}

} // namespace kalmo::power
