// What the fleet's screenshot costs the GUI thread: a full-HD window under an X server (Xvfb,
// started here when there is no display) is shot again and again while a probe timer measures
// the longest time the GUI thread was unavailable. The grab comes in bands of rows, one per
// turn of the event loop; stacking, scaling, encoding and writing run on a worker.
//
// Usage: bench_fleet_screenshot [shots=20]
#include "bench/kiosk/xvfb.h"
#include "fleet/screenshot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cstdio>

namespace {

// Something worth a screenshot: gradients and text, repainted as a kiosk screen would be.
class Busy : public QWidget {
public:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), height());
        g.setColorAt(0, QColor(20, 40, 120));
        g.setColorAt(1, QColor(200, 120, 30));
        p.fillRect(rect(), g);
        p.setPen(Qt::white);
        QFont f("Liberation Sans");
        f.setPixelSize(48);
        p.setFont(f);
        for (int i = 0; i < 20; ++i)
            p.drawText(40, 60 + i * 50, QStringLiteral("Строка %1 главного экрана").arg(i));
    }
};

double ms(qint64 ns) {
    return ns / 1e6;
}

} // namespace

int main(int argc, char *argv[]) {
    kalmo::bench::Xvfb display(1920, 1080);
    qputenv("DISPLAY", display.name().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const int shots = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    const QRect screen(0, 0, 1920, 1080);

    Busy window;
    window.setGeometry(screen);
    window.show();
    QElapsedTimer wait;
    wait.start();
    while (!window.isVisible() || wait.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    const auto grabber = kalmo::fleet::screenGrabber();

    // The whole screen in one call, for comparison.
    QElapsedTimer t;
    qint64 whole = 0;
    for (int i = 0; i < 5; ++i) {
        t.start();
        const QImage all = grabber(screen);
        whole = std::max(whole, t.nsecsElapsed());
        if (all.size() != screen.size()) {
            std::fprintf(stderr, "grab failed: %dx%d\n", all.width(), all.height());
            return 1;
        }
    }

    qint64 longestBand = 0;
    const auto timedGrabber = [&](const QRect &band) {
        QElapsedTimer b;
        b.start();
        QImage image = grabber(band);
        longestBand = std::max(longestBand, b.nsecsElapsed());
        return image;
    };
    kalmo::fleet::BandedGrab grab(screen, 120, timedGrabber);

    // Probe: a 1 ms timer; the longest gap between its ticks is the longest stall.
    QElapsedTimer probeClock;
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = probeClock.nsecsElapsed();
        if (last)
            longestGap = std::max(longestGap, now - last);
        last = now;
    });

    int done = 0;
    qint64 longestEncode = 0;
    QByteArray jpeg;
    QObject::connect(&grab, &kalmo::fleet::BandedGrab::finished, [&](const QList<QImage> &bands) {
        auto *watcher = new QFutureWatcher<std::pair<QByteArray, qint64>>(&app);
        QObject::connect(watcher, &QFutureWatcherBase::finished, [&, watcher] {
            jpeg = watcher->result().first;
            longestEncode = std::max(longestEncode, watcher->result().second);
            watcher->deleteLater();
            if (++done == shots)
                QCoreApplication::quit();
            else
                QTimer::singleShot(100, &grab, &kalmo::fleet::BandedGrab::start);
        });
        watcher->setFuture(QtConcurrent::run([bands] {
            QElapsedTimer e;
            e.start();
            QByteArray bytes = kalmo::fleet::encodeScreenshot(bands);
            return std::make_pair(bytes, e.nsecsElapsed());
        }));
        window.update(); // the screen keeps changing
    });
    probeClock.start();
    probe.start();
    grab.start();
    QCoreApplication::exec();

    std::printf("whole-screen grab: %.1f ms\n", ms(whole));
    std::printf("longest band grab: %.1f ms\n", ms(longestBand));
    std::printf("longest stall: %.1f ms\n", ms(longestGap));
    std::printf("encode on the worker: %.1f ms\n", ms(longestEncode));
    std::printf("screenshot size: %lld KB\n", static_cast<long long>(jpeg.size() / 1024));
    return 0;
}
