// Cost of the running text line on the main screen: a 1500-character text scrolling
// across a 1920 px screen at the display's frame rate. Prints CPU time per second of
// scrolling (share of one core), frames presented and the cost of a first render.
//
// Usage: bench_ticker [seconds]   (runs offscreen unless QT_QPA_PLATFORM is set)

#include "ticker/main_screen_ticker.h"
#include "ticker/scrolling_text.h"
#include "ticker/ticker_text.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long maxRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

QString announcement(int length) {
    const QString words =
        QStringLiteral("Уважаемые студенты! Занятия по расписанию, консультации в аудитории 305. ");
    QString text;
    while (text.size() < length)
        text += words;
    text.truncate(length);
    return text;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::max(1.0, QString(argv[1]).toDouble()) : 5.0;

    QTemporaryDir dir;
    const QString path = dir.filePath("text.txt");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(announcement(1500).toUtf8());
    }

    QWidget window;
    window.setGeometry(0, 0, 1920, 1080);
    kalmo::ticker::TScrollingText line(&window);
    kalmo::ticker::setupMainScreenTicker(line, kalmo::ticker::readTickerText(path), 2, Qt::black,
                                         Qt::white, QSize(1920, 1080));
    PaintCounter counter;
    line.installEventFilter(&counter);
    window.show();
    QCoreApplication::processEvents();

    // A new text is rendered on its first paint (the pieces in view), later frames blit.
    line.setText(line.text() + QStringLiteral("."));
    QElapsedTimer t;
    t.start();
    line.repaint();
    const double firstPaintMs = t.nsecsElapsed() / 1e6;
    t.restart();
    line.repaint();
    const double blitPaintMs = t.nsecsElapsed() / 1e6;

    // Warm up, then measure.
    QTimer::singleShot(500, &app, [&] {
        counter.paints = 0;
        const int startScroll = line.scrollPosition();
        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTimer::singleShot(static_cast<int>(seconds * 1000), &app, [&, cpu0, startScroll, wall] {
            const double cpu = cpuSeconds() - cpu0;
            const double elapsed = wall.nsecsElapsed() / 1e9;
            std::printf("text: 1500 characters, band %d x %d px, step 2 px per frame\n",
                        line.width(), line.height());
            std::printf("wall %.2f s, frames presented %d (%.1f per second)\n", elapsed,
                        counter.paints, counter.paints / elapsed);
            std::printf("moved %d px\n", startScroll - line.scrollPosition());
            std::printf("CPU %.3f s = %.2f%% of one core (target < 5%%)\n", cpu,
                        100.0 * cpu / elapsed);
            std::printf("CPU per frame %.1f us\n",
                        counter.paints ? 1e6 * cpu / counter.paints : 0.0);
            std::printf("paint after a text change %.2f ms, plain frame paint %.3f ms\n",
                        firstPaintMs, blitPaintMs);
            std::printf("max RSS %ld KiB\n", maxRssKb());
            app.quit();
        });
    });
    return app.exec();
}
