#include "video/video_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace kalmo::video {

namespace {

// Signs are drawn on a 100 x 100 grid and scaled to the button.
void drawSign(QPainter &p, ButtonPicture which) {
    QPen pen(Qt::white, 8);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::white);
    const auto triangle = [&p](qreal x, qreal w, bool right) {
        const qreal tip = right ? x + w : x;
        const qreal back = right ? x : x + w;
        p.drawPolygon(QPolygonF({QPointF(back, 30), QPointF(tip, 50), QPointF(back, 70)}));
    };
    const auto corners = [&p](bool outward) {
        // Four corner marks pointing out of (or into) the middle.
        for (int sx : {-1, 1}) {
            for (int sy : {-1, 1}) {
                const QPointF c(50 + sx * 22, 50 + sy * 22);
                const qreal d = outward ? -12 : 12;
                p.drawPolyline(QPolygonF({c + QPointF(sx * d, 0), c, c + QPointF(0, sy * d)}));
            }
        }
    };
    const auto speaker = [&p] {
        p.drawPolygon(QPolygonF({QPointF(22, 42), QPointF(34, 42), QPointF(48, 28), QPointF(48, 72),
                                 QPointF(34, 58), QPointF(22, 58)}));
    };
    switch (which) {
    case ButtonPicture::Play:
        p.drawPolygon(QPolygonF({QPointF(38, 28), QPointF(72, 50), QPointF(38, 72)}));
        break;
    case ButtonPicture::Pause:
        p.drawRect(QRectF(34, 30, 8, 40));
        p.drawRect(QRectF(58, 30, 8, 40));
        break;
    case ButtonPicture::FullScreen:
        corners(true);
        break;
    case ButtonPicture::Minimize:
        corners(false);
        break;
    case ButtonPicture::PreviousVideo:
        p.drawLine(QPointF(28, 30), QPointF(28, 70));
        triangle(34, 36, false);
        break;
    case ButtonPicture::NextVideo:
        p.drawLine(QPointF(72, 30), QPointF(72, 70));
        triangle(30, 36, true);
        break;
    case ButtonPicture::PreviousPage:
    case ButtonPicture::NextPage: {
        p.setBrush(Qt::NoBrush);
        const bool left = which == ButtonPicture::PreviousPage;
        for (int dx : {0, 20}) {
            const qreal tip = left ? 26 + dx : 74 - dx;
            const qreal back = left ? tip + 18 : tip - 18;
            p.drawPolyline(QPolygonF({QPointF(back, 30), QPointF(tip, 50), QPointF(back, 70)}));
        }
        break;
    }
    case ButtonPicture::Close:
        p.drawLine(QPointF(32, 32), QPointF(68, 68));
        p.drawLine(QPointF(68, 32), QPointF(32, 68));
        break;
    case ButtonPicture::VolumeMinus:
        speaker();
        p.drawLine(QPointF(58, 50), QPointF(78, 50));
        break;
    case ButtonPicture::VolumePlus:
        speaker();
        p.drawLine(QPointF(58, 50), QPointF(78, 50));
        p.drawLine(QPointF(68, 40), QPointF(68, 60));
        break;
    }
}

} // namespace

QPixmap buttonPicture(ButtonPicture which, QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(size.width(), size.height());
    p.translate((size.width() - side) / 2, (size.height() - side) / 2);
    p.scale(side / 100, side / 100);
    p.setPen(QPen(QColor(255, 255, 255, 160), 3));
    p.setBrush(QColor(20, 20, 20, 200));
    p.drawEllipse(QRectF(3, 3, 94, 94));
    drawSign(p, which);
    return pm;
}

} // namespace kalmo::video
