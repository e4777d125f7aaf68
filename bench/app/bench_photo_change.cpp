// How the main screen copes with very large photos: the slideshow changes a 6000 x 4000 JPEG
// every second while a probe timer measures how long the GUI thread is ever unavailable, and
// the clock and the running text are checked for keeping their pace.
//
// Usage: bench_photo_change [seconds=10] [photos=3]
#include "app/kiosk.h"
#include "ticker/scrolling_text.h"
#include "transitions/picshow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    const int photoCount = argc > 2 ? std::max(2, atoi(argv[2])) : 3;

    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    QDir(base).mkdir("photo");
    std::printf("writing %d photos of 6000x4000...\n", photoCount);
    for (int i = 0; i < photoCount; ++i) {
        QImage img(6000, 4000, QImage::Format_RGB32);
        img.fill(QColor::fromHsv(i * 70 % 360, 180, 220));
        QPainter p(&img);
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(1000 + 300 * i, 800, 2500, 2500));
        p.end();
        img.save(base + QStringLiteral("photo/big%1.jpg").arg(i), "JPG", 90);
    }
    QFile ini(base + "kalmora.ini");
    ini.open(QIODevice::WriteOnly);
    ini.write(
        ("[ini]\nfile=1\n[weather]\nread=0\n[time]\nimage=1\n[dir]\nDirimage=" + base + "photo/\n")
            .toUtf8());
    ini.close();
    QFile text(base + "text.txt");
    text.open(QIODevice::WriteOnly);
    text.write(QByteArray(1500, 'x'));
    text.close();
    QDir::setCurrent(base);

    kalmo::app::Kiosk::Options options;
    options.baseFolder = base;
    options.screenSize = QSize(1920, 1080);
    kalmo::app::Kiosk kiosk(options);
    kalmo::app::TForm1 &form = kiosk.mainWindow();
    form.show();

    int changes = 0;
    QObject::connect(&form.picShow(), &kalmo::transitions::TPicShow::onComplete,
                     [&] { ++changes; });
    int clockTicks = 0;
    auto *panel1 = form.findChild<QLabel *>("Panel1");
    QString lastClock;
    QObject::connect(&form.clockTimer(), &QTimer::timeout, [&] {
        if (panel1->text() != lastClock)
            ++clockTicks, lastClock = panel1->text();
    });

    // The probe: a 2 ms timer; any gap well beyond that is time the GUI thread was busy.
    QElapsedTimer elapsed;
    elapsed.start();
    qint64 last = 0, worst = 0;
    int over20 = 0;
    int tickerFrames = 0;
    std::int32_t tickerPos = form.ticker().presentedPosition();
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(2);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = elapsed.nsecsElapsed() / 1000;
        if (last) {
            const qint64 gap = now - last;
            worst = std::max(worst, gap);
            if (gap > 20000)
                ++over20;
        }
        last = now;
        // The line moves by its step on every frame it draws.
        const std::int32_t pos = form.ticker().presentedPosition();
        // A jump (the start, a wrap) is one frame, not a distance.
        const int moved = std::abs(pos - tickerPos), step = std::max(1, form.ticker().step());
        if (moved > 0)
            tickerFrames += moved > 16 * step ? 1 : moved / step;
        tickerPos = pos;
    });
    probe.start();
    // exit(), not quit(): the kiosk answers a request to close with its password dialog.
    QTimer::singleShot(seconds * 1000, &app, [] { QCoreApplication::exit(0); });
    QApplication::exec();

    const double s = elapsed.elapsed() / 1000.0;
    std::printf("run: %.1f s, photo changes completed: %d\n", s, changes);
    std::printf("GUI thread: longest stall %.1f ms, stalls over 20 ms: %d\n", worst / 1000.0,
                over20);
    std::printf("clock: %d ticks (%.2f per second)\n", clockTicks, clockTicks / s);
    std::printf("running text: %d frames (%.1f per second, display refresh %.0f Hz)\n",
                tickerFrames, tickerFrames / s, QGuiApplication::primaryScreen()->refreshRate());
    return 0;
}
