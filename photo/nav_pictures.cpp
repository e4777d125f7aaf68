#include "photo/nav_pictures.h"

#include <QPainter>

namespace kalmo::photo {

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
    QPixmap pm = canvas(80, 68);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(whitePen());
    for (int dx : {0, 26}) {
        const int tip = left ? 14 + dx : 66 - dx;
        const int back = left ? tip + 22 : tip - 22;
        p.drawPolyline(QPolygonF({QPointF(back, 12), QPointF(tip, 34), QPointF(back, 56)}));
    }
    return pm;
}

} // namespace

QPixmap nextPagePicture() {
    return chevrons(false);
}

QPixmap previousPagePicture() {
    return chevrons(true);
}

QPixmap closePicture() {
    QPixmap pm = canvas(68, 68);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(whitePen());
    p.drawLine(QPointF(16, 16), QPointF(52, 52));
    p.drawLine(QPointF(52, 16), QPointF(16, 52));
    return pm;
}

} // namespace kalmo::photo
