#include "core/button_pictures.h"

#include <QPainter>

namespace kalmo::core {

namespace {

QPixmap canvas(int w, int h) {
    QPixmap pm(w, h);
    pm.fill(Qt::black);
    return pm;
}

void prepare(QPainter &p) {
    QPen pen(Qt::white, 7);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen);
}

} // namespace

QPixmap chevronPicture(bool pointingLeft, int height) {
    QPixmap pm = canvas(80, height);
    QPainter p(&pm);
    prepare(p);
    const qreal middle = height / 2.0;
    for (int dx : {0, 26}) {
        const int tip = pointingLeft ? 14 + dx : 66 - dx;
        const int back = pointingLeft ? tip + 22 : tip - 22;
        p.drawPolyline(QPolygonF(
            {QPointF(back, middle - 22), QPointF(tip, middle), QPointF(back, middle + 22)}));
    }
    return pm;
}

QPixmap housePicture() {
    QPixmap pm = canvas(80, 80);
    QPainter p(&pm);
    prepare(p);
    p.drawPolyline(QPolygonF({QPointF(8, 40), QPointF(40, 10), QPointF(72, 40)}));
    p.drawPolyline(QPolygonF({QPointF(18, 34), QPointF(18, 70), QPointF(62, 70), QPointF(62, 34)}));
    p.drawRect(QRectF(33, 48, 14, 22));
    return pm;
}

QPixmap crossPicture() {
    QPixmap pm = canvas(68, 68);
    QPainter p(&pm);
    prepare(p);
    p.drawLine(QPointF(16, 16), QPointF(52, 52));
    p.drawLine(QPointF(52, 16), QPointF(16, 52));
    return pm;
}

} // namespace kalmo::core
