// What the fleet's screenshot costs the GUI thread: a full-HD window under an X server (Xvfb,
// started here when there is no display) is shot again and again, as the kiosk takes them,
// while a probe timer measures the longest time the GUI thread was unavailable. Also shown:
// what one copy of the screen costs where it is made (on the worker, over a connection of its
// own) and what the fallback in bands on the GUI thread would cost per band.
//
// Usage: bench_fleet_screenshot [shots=20]
#include "bench/kiosk/xvfb.h"
#include "core/clock.h"
#include "fleet/fleet_service.h"
#include "fleet/x11_grab.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>

namespace {

// Something worth a screenshot, repainted as a kiosk screen would be.
class Busy : public QWidget {
public:
    int frame = 0;
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), height());
        g.setColorAt(0, QColor(20, 40, 120));
        g.setColorAt(1, QColor(200, 120, (frame * 7) % 255));
        p.fillRect(rect(), g);
        p.setPen(Qt::white);
        QFont f("Liberation Sans");
        f.setPixelSize(48);
        p.setFont(f);
        for (int i = 0; i < 20; ++i)
            p.drawText(40, 60 + i * 50, QStringLiteral("Строка %1, кадр %2").arg(i).arg(frame));
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
    while (wait.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    QElapsedTimer t;
    qint64 whole = 0;
    qint64 band = 0;
    const auto gui = kalmo::fleet::screenGrabber();
    for (int i = 0; i < 5; ++i) {
        t.start();
        if (kalmo::fleet::x11Grab(screen).size() != screen.size()) {
            std::fprintf(stderr, "the X grab failed\n");
            return 1;
        }
        whole = std::max(whole, t.nsecsElapsed());
        t.start();
        gui(QRect(0, 0, 1920, kalmo::fleet::FleetService::kBandRows));
        band = std::max(band, t.nsecsElapsed());
    }

    QTemporaryDir dir;
    kalmo::core::SystemClock clock;
    kalmo::fleet::FleetService fleet({"bench",
                                      "0",
                                      clock,
                                      [&] { return dir.path() + '/'; },
                                      [] { return QString("main"); },
                                      [] { return QString(); },
                                      [] { return QString(); },
                                      screen,
                                      {}});

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
    // The screen keeps changing while it is shot.
    QTimer repaint;
    repaint.setInterval(100);
    QObject::connect(&repaint, &QTimer::timeout, [&] {
        ++window.frame;
        window.update();
    });

    int done = 0;
    QElapsedTimer shotClock;
    qint64 longestShot = 0;
    QObject::connect(&fleet, &kalmo::fleet::FleetService::screenshotWritten, [&] {
        longestShot = std::max(longestShot, shotClock.nsecsElapsed());
        if (++done == shots) {
            QCoreApplication::quit();
            return;
        }
        QTimer::singleShot(200, &fleet, [&] {
            shotClock.start();
            fleet.takeScreenshot();
        });
    });
    probeClock.start();
    probe.start();
    repaint.start();
    // The same time without screenshots first: what the machine itself costs.
    QElapsedTimer phase;
    phase.start();
    QTimer::singleShot(std::max(2000, shots * 400), &app, [&] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    const qint64 baseline = longestGap;
    const qint64 baselineMs = phase.elapsed();
    longestGap = 0;
    last = 0;
    shotClock.start();
    fleet.takeScreenshot();
    QCoreApplication::exec();

    std::printf("screen copy on the worker: %.1f ms\n", ms(whole));
    std::printf("fallback band on the GUI thread: %.1f ms\n", ms(band));
    std::printf("screenshot, grab to file: %.1f ms\n", ms(longestShot));
    std::printf("longest stall: %.1f ms\n", ms(longestGap));
    std::printf("longest stall without screenshots (%lld ms): %.1f ms\n",
                static_cast<long long>(baselineMs), ms(baseline));
    return 0;
}
