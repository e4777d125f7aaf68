// Draws the calendar pictures shown behind a day's text on its tile: 660 × 400 (twice the
// tile, so they stay sharp when scaled), calm in their middle where the text stands.
//   Новый год.jpg    night sky, snowfall, a fir tree with baubles
//   23 февраля.PNG   a red star over a ribbon in the colours of the day
//   8 марта.jpg      spring tulips on a soft pink ground
//   9 мая.jpg        a St George ribbon and a salute over a dusk sky
//   event.png        a calendar leaf on a light blue ground

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cstdio>

namespace {

constexpr int kW = 660, kH = 400;

// A small deterministic generator, so every run draws the same pictures.
struct Lcg {
    quint32 s;
    qreal next() {
        s = s * 1664525u + 1013904223u;
        return (s >> 8) / qreal(1 << 24);
    }
};

// One picture: a white canvas that `draw` paints with antialiasing.
QImage render(void (*draw)(QPainter &)) {
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return img;
}

void verticalGradient(QPainter &p, QColor top, QColor bottom) {
    QLinearGradient g(0, 0, 0, kH);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(0, 0, kW, kH, g);
}

QPainterPath star(QPointF c, qreal outer, qreal inner, int points = 5) {
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = i % 2 ? inner : outer;
        const qreal a = -M_PI / 2 + i * M_PI / points;
        const QPointF pt = c + QPointF(qCos(a), qSin(a)) * r;
        i ? path.lineTo(pt) : path.moveTo(pt);
    }
    path.closeSubpath();
    return path;
}

void newYear(QPainter &p) {
    verticalGradient(p, QColor(12, 24, 64), QColor(40, 80, 140));
    // Snowy ground.
    QPainterPath ground;
    ground.moveTo(0, kH);
    ground.lineTo(0, kH - 70);
    ground.cubicTo(kW * 0.3, kH - 110, kW * 0.6, kH - 40, kW, kH - 90);
    ground.lineTo(kW, kH);
    p.fillPath(ground, QColor(235, 242, 250));
    // Fir tree at the right, three tiers.
    const qreal cx = kW - 120, base = kH - 70;
    for (int i = 0; i < 3; ++i) {
        const qreal w = 150 - i * 35, top = base - 110 - i * 70;
        QPainterPath tier;
        tier.moveTo(cx, top - 30);
        tier.lineTo(cx + w / 2, top + 110);
        tier.lineTo(cx - w / 2, top + 110);
        tier.closeSubpath();
        p.fillPath(tier, QColor(20, 110 - i * 10, 60));
    }
    p.fillRect(QRectF(cx - 12, base, 24, 22), QColor(100, 60, 30));
    p.fillPath(star(QPointF(cx, base - 300), 22, 9), QColor(255, 210, 60));
    const QColor baubles[] = {QColor(230, 40, 50), QColor(250, 200, 40), QColor(80, 160, 240)};
    Lcg rnd{7};
    for (int i = 0; i < 14; ++i) {
        const qreal y = base - 20 - rnd.next() * 250;
        const qreal half = (base - y) * 0.25 + 8;
        p.setBrush(baubles[i % 3]);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(cx + (rnd.next() - 0.5) * half, y), 7, 7);
    }
    // Snowfall.
    p.setBrush(QColor(255, 255, 255, 220));
    for (int i = 0; i < 160; ++i)
        p.drawEllipse(QPointF(rnd.next() * kW, rnd.next() * kH), 1 + rnd.next() * 3,
                      1 + rnd.next() * 3);
}

void defenderDay(QPainter &p) {
    verticalGradient(p, QColor(230, 236, 242), QColor(170, 186, 204));
    // A ribbon across the lower part: white, blue, red.
    const QColor bands[] = {Qt::white, QColor(0, 57, 166), QColor(213, 43, 30)};
    for (int i = 0; i < 3; ++i) {
        QPainterPath band;
        const qreal y = kH - 120 + i * 26;
        band.moveTo(0, y);
        band.cubicTo(kW * 0.35, y - 40, kW * 0.65, y + 40, kW, y - 10);
        band.lineTo(kW, y + 16);
        band.cubicTo(kW * 0.65, y + 66, kW * 0.35, y - 14, 0, y + 26);
        band.closeSubpath();
        p.fillPath(band, bands[i]);
    }
    // A red star with a gold rim in the upper left, away from the text.
    const QPointF c(120, 120);
    p.setPen(QPen(QColor(200, 160, 40), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(200, 20, 30));
    p.drawPath(star(c, 80, 32));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawPath(star(c + QPointF(-6, -6), 40, 16));
}

void tulip(QPainter &p, QPointF base, qreal height, QColor petal) {
    p.setPen(QPen(QColor(60, 140, 60), 6, Qt::SolidLine, Qt::RoundCap));
    const QPointF head = base - QPointF(0, height);
    p.drawLine(base, head);
    QPainterPath leaf;
    leaf.moveTo(base);
    leaf.quadTo(base + QPointF(40, -height * 0.4), base + QPointF(18, -height * 0.65));
    leaf.quadTo(base + QPointF(8, -height * 0.3), base);
    p.fillPath(leaf, QColor(80, 160, 70));
    QPainterPath cup;
    cup.moveTo(head + QPointF(-24, -36));
    cup.lineTo(head + QPointF(-10, -18));
    cup.lineTo(head + QPointF(0, -40));
    cup.lineTo(head + QPointF(10, -18));
    cup.lineTo(head + QPointF(24, -36));
    cup.cubicTo(head + QPointF(28, 0), head + QPointF(-28, 0), head + QPointF(-24, -36));
    p.setPen(Qt::NoPen);
    p.fillPath(cup, petal);
}

void womensDay(QPainter &p) {
    QRadialGradient g(QPointF(kW / 2, kH / 2), kW * 0.7);
    g.setColorAt(0, QColor(255, 240, 245));
    g.setColorAt(1, QColor(245, 180, 200));
    p.fillRect(0, 0, kW, kH, g);
    const QColor petals[] = {QColor(230, 50, 90), QColor(250, 120, 150), QColor(240, 200, 60)};
    const qreal xs[] = {40, 80, 120, kW - 120, kW - 80, kW - 40};
    const qreal hs[] = {170, 230, 150, 160, 220, 180};
    for (int i = 0; i < 6; ++i)
        tulip(p, QPointF(xs[i], kH + 5), hs[i], petals[i % 3]);
}

void victoryDay(QPainter &p) {
    verticalGradient(p, QColor(20, 26, 60), QColor(120, 60, 70));
    // Salute: bursts of sparks in the corners.
    Lcg rnd{9};
    const QPointF bursts[] = {QPointF(110, 90), QPointF(kW - 120, 80), QPointF(kW - 60, 200)};
    const QColor sparks[] = {QColor(255, 210, 80), QColor(255, 120, 100), QColor(160, 220, 255)};
    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < 28; ++i) {
            const qreal a = i * 2 * M_PI / 28, r = 40 + rnd.next() * 30;
            const QPointF end = bursts[b] + QPointF(qCos(a), qSin(a)) * r;
            p.setPen(QPen(sparks[b], 2.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(bursts[b] + QPointF(qCos(a), qSin(a)) * r * 0.4, end);
            p.setPen(Qt::NoPen);
            p.setBrush(sparks[b].lighter(130));
            p.drawEllipse(end, 2.5, 2.5);
        }
    // A St George ribbon along the bottom: black and orange stripes.
    p.save();
    p.translate(0, kH - 70);
    p.rotate(-4);
    const qreal stripe = 10;
    for (int i = 0; i < 5; ++i)
        p.fillRect(QRectF(-20, i * stripe, kW + 40, stripe),
                   i % 2 ? QColor(240, 140, 20) : QColor(15, 15, 15));
    p.restore();
}

void genericEvent(QPainter &p) {
    verticalGradient(p, QColor(225, 240, 252), QColor(170, 205, 235));
    // A calendar leaf at the lower right, with rings and a marked day.
    const QRectF leaf(kW - 190, kH - 200, 150, 160);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(leaf.translated(6, 6), 14, 14);
    p.setBrush(Qt::white);
    p.drawRoundedRect(leaf, 14, 14);
    p.setBrush(QColor(60, 120, 200));
    p.drawRoundedRect(QRectF(leaf.left(), leaf.top(), leaf.width(), 40), 14, 14);
    p.drawRect(QRectF(leaf.left(), leaf.top() + 20, leaf.width(), 20));
    p.setBrush(QColor(90, 90, 90));
    p.drawEllipse(QPointF(leaf.left() + 40, leaf.top()), 7, 7);
    p.drawEllipse(QPointF(leaf.right() - 40, leaf.top()), 7, 7);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            const QRectF day(leaf.left() + 14 + c * 33, leaf.top() + 52 + r * 34, 24, 24);
            p.setBrush(r == 1 && c == 2 ? QColor(230, 70, 60) : QColor(215, 225, 235));
            p.drawRoundedRect(day, 5, 5);
        }
}

} // namespace

int main(int argc, char **argv) {
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: calendar-pictures <output folder>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + u'/';
    QDir().mkpath(out);
    const struct {
        const char *name;
        const char *format;
        void (*draw)(QPainter &);
    } pictures[] = {
        {"Новый год.jpg", "JPG", newYear},  {"23 февраля.PNG", "PNG", defenderDay},
        {"8 марта.jpg", "JPG", womensDay},  {"9 мая.jpg", "JPG", victoryDay},
        {"event.png", "PNG", genericEvent},
    };
    int failures = 0;
    for (const auto &pic : pictures) {
        const QString path = out + QString::fromUtf8(pic.name);
        const int quality = qstrcmp(pic.format, "PNG") == 0 ? -1 : 90;
        if (!render(pic.draw).save(path, pic.format, quality)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
