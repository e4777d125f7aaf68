// How the main screen copes with very large photos: the slideshow changes a 6000 x 4000 JPEG
// every second while a probe timer measures how long the GUI thread is ever unavailable, and
// the clock and the running text are checked for keeping their pace. Runs once offscreen and
// once on an X server (Xvfb, started here when there is no display), where painting costs
// what it costs on the hallway screen.
//
// Usage: bench_photo_change [seconds=60] [photos=3] [--platform offscreen|xcb]
#include "app/kiosk.h"
#include "bench/kiosk/proc_stats.h"
#include "bench/kiosk/xvfb.h"
#include "ticker/scrolling_text.h"
#include "transitions/picshow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <utility>

namespace {

// Runs this program again for each platform and passes its figures on.
int runBoth(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    kalmo::bench::Xvfb display(1920, 1080);
    int status = 0;
    for (const char *platform : {"offscreen", "xcb"}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display.name());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    args + QStringList{"--platform", platform});
        child.waitForFinished(-1);
        status |= child.exitCode();
    }
    return status;
}

void writePhotos(const QString &base, int photoCount) {
    QDir(base).mkdir("photo");
    for (int i = 0; i < photoCount; ++i) {
        QImage img(6000, 4000, QImage::Format_RGB32);
        img.fill(QColor::fromHsv(i * 70 % 360, 180, 220));
        QPainter p(&img);
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(1000 + 300 * i, 800, 2500, 2500));
        p.end();
        img.save(base + QStringLiteral("photo/big%1.jpg").arg(i), "JPG", 90);
    }
}

// CPU time of the calling thread, in microseconds.
qint64 threadCpuUs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

// Time the calling thread has spent ready to run but waiting for a core, in microseconds
// (the scheduler's run delay): on a loaded machine a stall is mostly that.
qint64 threadRunDelayUs() {
    QFile f(QStringLiteral("/proc/thread-self/schedstat"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() / 1000 : 0;
}

// Minor page faults of the calling thread so far: a fresh picture buffer costs one per page.
qint64 threadMinorFaults() {
    // From the state (the 3rd field) on: minflt is the 10th.
    const QList<QByteArray> fields =
        kalmo::bench::statFields(QStringLiteral("/proc/thread-self/stat"));
    return fields.size() > 7 ? fields[7].toLongLong() : 0;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

// Calls back once, shortly after the watched window's first paint.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::function<void()> then) : m_then(std::move(then)) {}
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && m_then) {
            // Half a second on: the first frame is painted in several passes, and events
            // dispatched between them must not count as the measured run.
            QTimer::singleShot(500, this, std::exchange(m_then, {}));
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

// Times every event delivered from the event loop, so that a long stall can be put down to
// the event that took it.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override {
        if (m_depth++ > 0) {
            const bool result = QApplication::notify(receiver, event);
            --m_depth;
            return result;
        }
        QElapsedTimer t;
        t.start();
        const QEvent::Type type = event->type();
        const char *cls = receiver->metaObject()->className();
        const QString name = receiver->objectName();
        const bool result = QApplication::notify(receiver, event);
        --m_depth;
        const qint64 ns = t.nsecsElapsed();
        if (ns > m_longestNs) {
            m_longestNs = ns;
            m_longest =
                QStringLiteral("%1 \"%2\", event %3").arg(QLatin1String(cls), name).arg(int(type));
        }
        return result;
    }
    double longestMs() const { return m_longestNs / 1e6; }
    QString longest() const { return m_longest; }
    void reset() { m_longestNs = 0, m_longest.clear(); }

private:
    int m_depth = 0;
    qint64 m_longestNs = 0;
    QString m_longest;
};

} // namespace

int main(int argc, char *argv[]) {
    QString platform;
    QList<int> numbers;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--platform" && i + 1 < argc)
            platform = QString::fromLatin1(argv[++i]);
        else
            numbers << atoi(argv[i]);
    }
    if (platform.isEmpty())
        return runBoth(argc, argv);
    qputenv("QT_QPA_PLATFORM", platform.toLatin1());

    TimedApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int seconds = numbers.size() > 0 ? std::max(1, numbers[0]) : 60;
    const int photoCount = numbers.size() > 1 ? std::max(2, numbers[1]) : 3;

    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    writePhotos(base, photoCount);
    writeFile(base + "kalmora.ini", "[ini]\nfile=1\n[weather]\nread=0\n[time]\nimage=1\n[dir]\n"
                                    "Dirimage=" +
                                        base.toUtf8() + "photo/\n");
    writeFile(base + "text.txt", QByteArray(1500, 'x'));

    kalmo::app::Kiosk::Options options;
    options.baseFolder = base;
    options.screenSize = QSize(1920, 1080);
    kalmo::app::Kiosk kiosk(options);
    kalmo::app::TForm1 &form = kiosk.mainWindow();
    kiosk.surface().show();

    int changes = 0;
    QObject::connect(&form.picShow(), &kalmo::transitions::TPicShow::onComplete,
                     [&] { ++changes; });
    QElapsedTimer elapsed; // started at the first painted frame
    // Clock changes seen while measuring, and when the first and the last came: the rate is
    // taken between them, so a run that is not a whole number of seconds does not skew it.
    int clockTicks = 0;
    qint64 firstTickMs = 0, lastTickMs = 0;
    auto *timeLabel = form.findChild<QLabel *>("Panel1");
    QString lastClock;
    QObject::connect(&form.clockTimer(), &QTimer::timeout, [&] {
        if (timeLabel->text() == lastClock)
            return;
        lastClock = timeLabel->text();
        if (!elapsed.isValid())
            return;
        lastTickMs = elapsed.elapsed();
        if (clockTicks++ == 0)
            firstTickMs = lastTickMs;
    });

    // The probe: a 2 ms timer; any gap well beyond that is time the GUI thread was busy, or
    // waited for a core on a loaded machine. The GUI thread's own CPU time over the gap says
    // which: the busy part is work of ours.
    qint64 last = 0, worst = 0, worstAt = 0, lastCpu = threadCpuUs(), worstBusy = 0;
    qint64 lastDelay = threadRunDelayUs(), worstOwn = 0;
    qint64 lastFaults = threadMinorFaults(), worstFaults = 0;
    QStringList stallTimes; // seconds into the run of each stall over 8 ms
    int over8 = 0, busyOver8 = 0, ownOver8 = 0;
    int tickerFrames = 0;
    std::int32_t tickerPos = form.ticker().presentedPosition();
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(2);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = elapsed.nsecsElapsed() / 1000, cpu = threadCpuUs();
        const qint64 delay = threadRunDelayUs();
        const qint64 faults = threadMinorFaults();
        if (last) {
            const qint64 gap = now - last, busy = cpu - lastCpu;
            // The stall less the time spent waiting for a core: working, or blocked on a lock.
            const qint64 own = gap - (delay - lastDelay);
            if (gap > worst)
                worst = gap, worstAt = now, worstFaults = faults - lastFaults;
            if (gap > 8000)
                stallTimes << QString::number(now / 1e6, 'f', 1);
            worstBusy = std::max(worstBusy, busy);
            worstOwn = std::max(worstOwn, own);
            over8 += gap > 8000;
            busyOver8 += busy > 8000;
            ownOver8 += own > 8000;
        }
        last = now;
        lastCpu = cpu;
        lastDelay = delay;
        lastFaults = faults;
        // Every frame the line presents moves it; the probe runs far more often than frames
        // come, so each new position is one frame.
        const std::int32_t pos = form.ticker().presentedPosition();
        if (pos != tickerPos)
            ++tickerFrames;
        tickerPos = pos;
    });
    // Measuring starts once the first frame is out: the start-up is bench_kiosk's figure, and
    // mapping the window on an X server takes one long frame that no visitor sees as a jerk.
    FirstPaint firstPaint([&] {
        elapsed.start();
        app.reset();
        lastCpu = threadCpuUs();
        lastDelay = threadRunDelayUs();
        lastFaults = threadMinorFaults();
        tickerPos = form.ticker().presentedPosition();
        probe.start();
        // exit(), not quit(): the kiosk answers a request to close with its password dialog.
        QTimer::singleShot(seconds * 1000, &app, [] { QCoreApplication::exit(0); });
    });
    form.installEventFilter(&firstPaint);
    QApplication::exec();

    const double s = elapsed.elapsed() / 1000.0;
    const double refresh = QGuiApplication::primaryScreen()->refreshRate();
    const int expectedFrames = int(s * refresh);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("run: %.1f s\n", s);
    std::printf("photo changes completed: %d\n", changes);
    std::printf("longest stall: %.1f ms\n", worst / 1000.0);
    std::printf("longest stall at: %.1f s\n", worstAt / 1e6);
    std::printf("page faults in the longest stall: %lld\n", static_cast<long long>(worstFaults));
    std::printf("stalls over 8 ms: %d\n", over8);
    std::printf("stalls over 8 ms at: %s s\n", qPrintable(stallTimes.join(", ")));
    std::printf("longest GUI-thread work: %.1f ms\n", worstBusy / 1000.0);
    std::printf("GUI-thread work over 8 ms: %d\n", busyOver8);
    std::printf("longest stall not waiting for a core: %.1f ms\n", worstOwn / 1000.0);
    std::printf("stalls not waiting for a core over 8 ms: %d\n", ownOver8);
    std::printf("longest event: %.1f ms (%s)\n", app.longestMs(), qPrintable(app.longest()));
    std::printf("running text frames: %d\n", tickerFrames);
    std::printf("running text frames lost: %d\n", std::max(0, expectedFrames - tickerFrames));
    const double tickSpan = (lastTickMs - firstTickMs) / 1000.0;
    std::printf("clock ticks per second: %.2f\n", tickSpan > 0 ? (clockTicks - 1) / tickSpan : 0.0);
    return 0;
}
