#include "app/nav_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace kalmo::app {

namespace {

QPixmap canvas(int w, int h) {
    QPixmap pm(w, h);
    pm.fill(Qt::black);
    return pm;
}

QPen whitePen() {
    QPen pen(Qt::white, 7);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QPixmap chevrons(bool left) {
    QPixmap pm = canvas(80, 64);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(whitePen());
    for (int dx : {0, 26}) {
        const int tip = left ? 14 + dx : 66 - dx;
        const int back = left ? tip + 22 : tip - 22;
        p.drawPolyline(QPolygonF({QPointF(back, 10), QPointF(tip, 32), QPointF(back, 54)}));
    }
    return pm;
}

} // namespace

QPixmap backPicture() {
    return chevrons(true);
}
QPixmap forwardPicture() {
    return chevrons(false);
}

QPixmap homePicture() {
    QPixmap pm = canvas(80, 80);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(whitePen());
    p.drawPolyline(QPolygonF({QPointF(8, 40), QPointF(40, 10), QPointF(72, 40)}));
    p.drawPolyline(QPolygonF({QPointF(18, 34), QPointF(18, 70), QPointF(62, 70), QPointF(62, 34)}));
    p.drawRect(QRectF(33, 48, 14, 22));
    return pm;
}

} // namespace kalmo::app
