// Draws the sample photos shipped with the kiosk, so that a first run shows a living screen.
// Usage: kalmo-sample-gen OUTDIR
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cstdio>

namespace {

struct Scene {
    const char *name;
    QRgb skyTop, skyBottom, ground, sun;
};

void paintScene(QImage &img, const Scene &s, quint32 seed) {
    QRandomGenerator rng(seed);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = img.width(), h = img.height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(s.skyTop));
    sky.setColorAt(1, QColor(s.skyBottom));
    p.fillRect(img.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(s.sun));
    p.drawEllipse(QPointF(w * (0.2 + 0.6 * rng.generateDouble()), h * 0.25), h * 0.09, h * 0.09);
    // Rolling hills in three shades.
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath hills;
        const double base = h * (0.55 + 0.12 * layer);
        hills.moveTo(0, h);
        hills.lineTo(0, base);
        for (int x = 0; x <= w; x += w / 8) {
            const double y = base - h * 0.08 * rng.generateDouble();
            hills.quadTo(x - w / 16.0, y - h * 0.05, x, y);
        }
        hills.lineTo(w, h);
        hills.closeSubpath();
        p.setBrush(QColor(s.ground).darker(100 + 25 * layer));
        p.drawPath(hills);
    }
    p.setPen(QColor(255, 255, 255, 200));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(h / 14);
    f.setBold(true);
    p.setFont(f);
    p.drawText(img.rect().adjusted(0, 0, -h / 20, -h / 20), Qt::AlignRight | Qt::AlignBottom,
               QString::fromUtf8(s.name));
}

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kalmo-sample-gen OUTDIR\n");
        return 2;
    }
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    const Scene scenes[] = {
        {"Утро", 0x8EC5FC, 0xE0F0FF, 0x4C8C3A, 0xFFF3B0},
        {"Полдень", 0x2F80ED, 0x9CD3FF, 0x6AA84F, 0xFFFFFF},
        {"Закат", 0x3A1C71, 0xFFAF7B, 0x2E4A2A, 0xFFD27F},
        {"Вечер", 0x0F2027, 0x2C5364, 0x1B3B2F, 0xE0E0E0},
        {"Зима", 0xB8D8F8, 0xF4FAFF, 0xE8EEF4, 0xFFFFFF},
    };
    quint32 seed = 7;
    for (const Scene &s : scenes) {
        QImage img(1600, 1000, QImage::Format_RGB32);
        paintScene(img, s, seed++);
        const QString path = QDir(QString::fromLocal8Bit(argv[1]))
                                 .filePath(QString::fromUtf8(s.name) + QStringLiteral(".jpg"));
        if (!img.save(path, "JPG", 85)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
