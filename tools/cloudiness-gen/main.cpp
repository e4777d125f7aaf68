// Draws the weather condition pictures: one 92 x 92 PNG per period of the day
// (0 night, 1 morning, 2 day, 3 evening) and condition code (0..10), named
// <period><code>.png. Night pictures carry a moon, the others a sun that stands low
// and warm in the morning and evening.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cstdio>

namespace {

constexpr int kSize = 92;

void drawSun(QPainter &p, QPointF c, qreal r, QColor fill, QColor rays) {
    p.setPen(QPen(rays, qMax(2.0, r / 7), Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(45.0 * i);
        p.drawLine(c + QPointF(qCos(a), qSin(a)) * (r + 3),
                   c + QPointF(qCos(a), qSin(a)) * (r + 3 + r * 0.45));
    }
    p.setPen(QPen(rays.darker(115), 1.5));
    p.setBrush(fill);
    p.drawEllipse(c, r, r);
}

// A sun sitting on the horizon: morning and evening.
void drawLowSun(QPainter &p, QPointF c, qreal r, QColor fill, QColor rays, QColor ground) {
    p.save();
    p.setClipRect(QRectF(0, 0, kSize, c.y()));
    drawSun(p, c, r, fill, rays);
    p.restore();
    p.setPen(QPen(ground, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - r - 14, c.y()), QPointF(c.x() + r + 14, c.y()));
}

void drawStar(QPainter &p, QPointF c, qreal r) {
    p.setPen(QPen(QColor(255, 250, 205), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
    p.drawLine(c - QPointF(0, r), c + QPointF(0, r));
}

void drawMoon(QPainter &p, QPointF c, qreal r) {
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    QPainterPath bite;
    bite.addEllipse(c + QPointF(r * 0.55, -r * 0.35), r * 0.9, r * 0.9);
    p.setPen(QPen(QColor(200, 180, 90), 1.5));
    p.setBrush(QColor(250, 230, 140));
    p.drawPath(disc.subtracted(bite));
}

void drawBody(QPainter &p, int period, QPointF c, qreal r) {
    switch (period) {
    case 0:
        drawMoon(p, c, r);
        drawStar(p, c + QPointF(r * 1.5, -r * 0.6), r * 0.22);
        drawStar(p, c + QPointF(r * 0.9, r * 0.9), r * 0.16);
        break;
    case 1:
        drawLowSun(p, c + QPointF(0, r * 0.45), r, QColor(255, 226, 120), QColor(255, 190, 90),
                   QColor(230, 140, 140));
        break;
    case 2:
        drawSun(p, c, r, QColor(255, 214, 0), QColor(255, 170, 0));
        break;
    default:
        drawLowSun(p, c + QPointF(0, r * 0.45), r, QColor(255, 140, 50), QColor(230, 90, 40),
                   QColor(150, 70, 110));
        break;
    }
}

QPainterPath cloudPath(QRectF box) {
    const qreal w = box.width(), h = box.height();
    QPainterPath path;
    path.setFillRule(Qt::WindingFill); // the parts merge into one outline
    path.addRoundedRect(QRectF(box.left(), box.top() + h * 0.45, w, h * 0.55), h * 0.27, h * 0.27);
    path.addEllipse(QRectF(box.left() + w * 0.12, box.top() + h * 0.22, w * 0.42, h * 0.62));
    path.addEllipse(QRectF(box.left() + w * 0.38, box.top(), w * 0.5, h * 0.8));
    return path.simplified();
}

void drawCloud(QPainter &p, QRectF box, QColor fill, QColor line = QColor(90, 100, 115)) {
    p.setPen(QPen(line, 2));
    p.setBrush(fill);
    p.drawPath(cloudPath(box));
}

void drawRain(QPainter &p, qreal top, int drops, bool heavy) {
    const QColor blue(40, 120, 230);
    p.setPen(QPen(blue, heavy ? 3.5 : 3, Qt::SolidLine, Qt::RoundCap));
    const qreal span = 56.0, left = 20;
    for (int i = 0; i < drops; ++i) {
        const qreal x = left + span * (i + 0.5) / drops;
        const qreal y = top + (i % 2) * 6;
        const qreal len = heavy ? 14 : 8;
        p.drawLine(QPointF(x, y), QPointF(x - len * 0.35, y + len));
    }
}

void drawFlake(QPainter &p, QPointF c, qreal r) {
    p.setPen(QPen(QColor(70, 150, 230), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const qreal a = qDegreesToRadians(60.0 * i + 90);
        const QPointF d(qCos(a) * r, qSin(a) * r);
        p.drawLine(c - d, c + d);
    }
}

void drawSnow(QPainter &p, qreal top, int flakes) {
    for (int i = 0; i < flakes; ++i) {
        const qreal x = 22 + 52.0 * (i + 0.5) / flakes;
        const qreal y = top + 4 + (i % 2) * 10;
        drawFlake(p, QPointF(x, y), 5);
    }
}

void drawBolt(QPainter &p, QPointF at) {
    QPainterPath bolt;
    bolt.moveTo(at + QPointF(6, 0));
    bolt.lineTo(at + QPointF(-4, 14));
    bolt.lineTo(at + QPointF(3, 14));
    bolt.lineTo(at + QPointF(-3, 28));
    bolt.lineTo(at + QPointF(12, 9));
    bolt.lineTo(at + QPointF(5, 9));
    bolt.lineTo(at + QPointF(12, 0));
    bolt.closeSubpath();
    p.setPen(QPen(QColor(200, 120, 0), 1.5));
    p.setBrush(QColor(255, 215, 0));
    p.drawPath(bolt);
}

QImage drawPicture(int period, int code) {
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QColor white(250, 252, 255), grey(200, 206, 215), dark(140, 148, 160);
    const QRectF upperCloud(18, 18, 62, 40); // cloud with precipitation under it
    const QPointF bodyHigh(32, 30);          // sun or moon behind a cloud

    switch (code) {
    case 0: // clear
        drawBody(p, period, QPointF(46, 44), 22);
        break;
    case 1: // a few clouds
        drawBody(p, period, bodyHigh, 18);
        drawCloud(p, QRectF(40, 48, 44, 30), white);
        break;
    case 2: // cloudy
        drawBody(p, period, bodyHigh, 18);
        drawCloud(p, QRectF(22, 36, 64, 44), white);
        break;
    case 3: // overcast
        drawBody(p, period, QPointF(20, 18), 11);
        drawCloud(p, QRectF(8, 16, 56, 38), grey);
        drawCloud(p, QRectF(24, 36, 62, 42), grey.darker(110));
        break;
    case 4: // rain
        drawBody(p, period, QPointF(26, 24), 14);
        drawCloud(p, upperCloud, grey);
        drawRain(p, 64, 4, false);
        break;
    case 5: // shower
        drawBody(p, period, QPointF(24, 20), 12);
        drawCloud(p, upperCloud, dark);
        drawRain(p, 62, 6, true);
        break;
    case 6: // snow
        drawBody(p, period, QPointF(26, 24), 14);
        drawCloud(p, upperCloud, grey);
        drawSnow(p, 64, 3);
        break;
    case 7: // heavy snow
        drawBody(p, period, QPointF(24, 20), 12);
        drawCloud(p, upperCloud, dark);
        drawSnow(p, 62, 5);
        break;
    case 8: // thunderstorm
        drawBody(p, period, QPointF(24, 20), 12);
        drawCloud(p, upperCloud, dark.darker(115));
        drawBolt(p, QPointF(42, 56));
        drawRain(p, 64, 2, false);
        break;
    case 9: // no condition word: a faint cloud only
        drawBody(p, period, bodyHigh, 16);
        p.setOpacity(0.6);
        drawCloud(p, QRectF(22, 36, 64, 44), grey, grey.darker(130));
        break;
    default: // 10, dry: sun or moon with a light cloud
        drawBody(p, period, QPointF(38, 36), 20);
        drawCloud(p, QRectF(46, 56, 38, 26), white);
        break;
    }
    return image;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: cloudiness-gen <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (int period = 0; period < 4; ++period) {
        for (int code = 0; code <= 10; ++code) {
            const QString name = out.filePath(QStringLiteral("%1%2.png").arg(period).arg(code));
            if (!drawPicture(period, code).save(name, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
                return 1;
            }
        }
    }
    return 0;
}
