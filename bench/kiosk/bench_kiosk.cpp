// The real kiosk program under an X server (Xvfb, started here when there is no display),
// on a base folder with the sample content and large photos, measured from outside:
//
//   first paint           process start to the first painted main screen (no weather)
//   CPU at rest           the program and its child processes, no transition running
//   CPU with transitions  the same with a photo transition every 4 s
//   peak RSS              the program's high-water mark with 6000 x 4000 photos
//   RSS growth            resident memory at the end less that at the 10th second
//   CPU asleep            started at 19:00 (its clock set so) with on=7:30 off=18:30: the
//                         program asleep, its display off and covered black
//
// Usage: bench_kiosk [seconds=60 | asleep] [WIDTHxHEIGHT=1920x1080]
//        (the transitions run; the resting run takes 30 s; the screen is the X server's)
#include "bench/kiosk/proc_stats.h"
#include "bench/kiosk/xvfb.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

using namespace kalmo::bench;

namespace {

constexpr int kSettleMs = 10000;

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The sample content, and large photos beside the sample's.
void makeBase(const QString &base, int photoCount) {
    QDir().mkpath(base + "photo");
    const QDir sample(QStringLiteral(KALMO_SAMPLE "/photo"));
    for (const QString &name : sample.entryList(QDir::Files))
        QFile::copy(sample.filePath(name), base + "photo/" + name);
    QFile::copy(QStringLiteral(KALMO_SAMPLE "/text.txt"), base + "text.txt");
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

void writeSettings(const QString &base, int imageSeconds, const QByteArray &extra = {}) {
    writeFile(base + "kalmora.ini",
              extra + "[ini]\nfile=1\n[weather]\nread=0\n[time]\nimage=" +
                  QByteArray::number(imageSeconds) + "\nreadsetting=30\npage=20\n[dir]\nDirimage=" +
                  base.toUtf8() + "photo/\nDirvideo=" + base.toUtf8() +
                  "video/\n[file]\nScrollingText=" + base.toUtf8() + "text.txt\n");
}

struct Run {
    qint64 firstPaintMs = -1;
    double cpu = 0;
    qint64 rssAtSettleKiB = 0;
    qint64 rssAtEndKiB = 0;
    qint64 peakKiB = 0;
    bool fellAsleep = false;
};

// Starts the program on `base`, waits for its first paint, lets it settle, then measures
// `measureMs` of it.
Run runKiosk(const QString &display, const QString &base, int measureMs,
             const QString &fakeNow = {}) {
    Run run;
    QProcess kiosk;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_LOGGING_RULES", "kalmo.app.info=true\nkalmo.power.info=true");
    if (!fakeNow.isEmpty())
        env.insert("KALMO_FAKE_NOW", fakeNow);
    env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    kiosk.setProcessEnvironment(env);
    kiosk.setProcessChannelMode(QProcess::SeparateChannels);
    QByteArray log;
    const QString logFile = base + "kalmo.log";
    QFile::remove(logFile);

    QElapsedTimer clock;
    clock.start();
    kiosk.start(QStringLiteral(KALMO_EXECUTABLE), {"--base", base});
    if (!kiosk.waitForStarted(10000))
        qFatal("cannot start %s", KALMO_EXECUTABLE);
    const qint64 pid = kiosk.processId();
    const auto painted = [&] {
        log += kiosk.readAllStandardError();
        QFile f(logFile);
        return log.contains("main screen painted") ||
               (f.open(QIODevice::ReadOnly) && f.readAll().contains("main screen painted"));
    };
    while (clock.elapsed() < 30000 && kiosk.state() == QProcess::Running) {
        if (painted()) {
            run.firstPaintMs = clock.elapsed();
            break;
        }
        kiosk.waitForReadyRead(2);
    }
    while (clock.elapsed() < kSettleMs && kiosk.state() == QProcess::Running)
        kiosk.waitForFinished(int(kSettleMs - clock.elapsed()));
    run.rssAtSettleKiB = statusKiB(pid, "VmRSS");
    const QHash<qint64, qint64> before = treeTicks(pid);
    QElapsedTimer window;
    window.start();
    while (window.elapsed() < measureMs && kiosk.state() == QProcess::Running)
        kiosk.waitForFinished(int(measureMs - window.elapsed()));
    const QHash<qint64, qint64> after = treeTicks(pid);
    run.cpu = cpuPercent(before, after, window.elapsed());
    run.rssAtEndKiB = statusKiB(pid, "VmRSS");
    run.peakKiB = statusKiB(pid, "VmHWM");
    if (kiosk.state() != QProcess::Running)
        qFatal("the kiosk ended early:\n%s", log.constData());
    log += kiosk.readAllStandardError();
    QFile logged(logFile);
    run.fellAsleep =
        log.contains("going to sleep") ||
        (logged.open(QIODevice::ReadOnly) && logged.readAll().contains("going to sleep"));
    kiosk.kill();
    kiosk.waitForFinished(5000);
    return run;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // "asleep" measures the night alone.
    const bool nightOnly = argc > 1 && qstrcmp(argv[1], "asleep") == 0;
    const int seconds = argc > 1 && !nightOnly ? std::max(20, atoi(argv[1])) : 60;
    int width = 1920, height = 1080;
    if (int w = 0, h = 0; argc > 2 && std::sscanf(argv[2], "%dx%d", &w, &h) == 2 && w > 0 && h > 0)
        width = w, height = h;

    Xvfb display(width, height);
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    std::fprintf(stderr, "writing the photos...\n");
    makeBase(base, 4);

    if (nightOnly) {
        writeSettings(base, 5, "[power]\non=7:30\noff=18:30\n");
        const Run night = runKiosk(display.name(), base, 20000, QStringLiteral("19:00"));
        if (!night.fellAsleep)
            qFatal("the kiosk did not go to sleep at 19:00");
        std::printf("CPU asleep: %.2f %%\n", night.cpu);
        return 0;
    }
    // At rest: the slideshow's first change comes at 1 s, the next an hour later.
    writeSettings(base, 3600);
    const Run rest = runKiosk(display.name(), base, 20000);
    // At work: a photo (and its full-size transition) every 4 s.
    writeSettings(base, 4);
    const Run work = runKiosk(display.name(), base, (seconds * 1000) - kSettleMs);

    // Asleep: the display schedule's night, from the start.
    writeSettings(base, 5, "[power]\non=7:30\noff=18:30\n");
    const Run night = runKiosk(display.name(), base, 20000, QStringLiteral("19:00"));
    if (!night.fellAsleep)
        qFatal("the kiosk did not go to sleep at 19:00");

    std::printf("platform: xcb\n");
    std::printf("screen: %d x %d\n", width, height);
    std::printf("first paint: %lld ms\n", static_cast<long long>(rest.firstPaintMs));
    std::printf("CPU at rest: %.1f %%\n", rest.cpu);
    std::printf("CPU with transitions: %.1f %%\n", work.cpu);
    std::printf("CPU asleep: %.2f %%\n", night.cpu);
    std::printf("peak RSS: %lld MB\n", static_cast<long long>(work.peakKiB / 1024));
    std::printf("RSS growth: %lld MB\n",
                static_cast<long long>((work.rssAtEndKiB - work.rssAtSettleKiB) / 1024));
    return 0;
}
