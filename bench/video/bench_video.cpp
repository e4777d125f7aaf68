// The video screen under load: four 1280 x 720 H.264 previews playing at once, then one
// 1920 x 1080 video full screen (reached with Next, as a visitor would). For each phase it
// prints the process CPU in cores, the frames libvlc dropped or showed late and the frames
// the GUI had no time to paint, and the longest time the GUI thread was unavailable.
// Software decoding; the clips are made with ffmpeg first. Runs on the Qt platform it is
// given (offscreen by default; under X with QT_QPA_PLATFORM=xcb and a DISPLAY).
//
// Also prints how long closing the screen (stopping four players) holds the GUI thread.
//
// Usage: bench_video [seconds per phase=10]
#include "video_fixtures.h"

#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "video/video_window.h"
#include "video/vlc_library.h"
#include "video/vlc_player.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

using namespace kalmo;

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The longest gap between the ticks of a 5 ms timer, beyond its interval.
class StallProbe : public QObject {
public:
    StallProbe() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            if (m_last > 0)
                m_longest = qMax(m_longest, now - m_last - 5'000'000);
            m_last = now;
        });
    }
    void start() {
        m_longest = 0;
        m_last = 0;
        m_clock.start();
        m_timer.start();
    }
    double longestMs() const { return double(m_longest) / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// Times every event the GUI thread handles, to tell a slow handler from a starved thread.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override {
        QElapsedTimer t;
        t.start();
        const int type = event->type();
        const bool result = QApplication::notify(receiver, event);
        const qint64 ns = t.nsecsElapsed();
        if (type == QEvent::Paint)
            longestPaintNs = qMax(longestPaintNs, ns);
        if (ns > 8'000'000)
            ++slowEvents;
        if (ns > longestNs) {
            longestNs = ns;
            longestType = type;
        }
        return result;
    }
    qint64 longestNs = 0;
    int longestType = 0;
    int slowEvents = 0;
    qint64 longestPaintNs = 0;
};

struct Counts {
    quint64 shown = 0, replaced = 0;
    int lost = 0;
};

Counts counts(video::TForm6 &form, bool onlyVisible) {
    Counts c;
    for (int t = 1; t <= 4; ++t) {
        auto *p = static_cast<video::VlcPlayer *>(form.player(t));
        if (!p || (onlyVisible && !p->isVisible()))
            continue;
        c.shown += p->frames().framesShown();
        c.replaced += p->frames().framesReplaced();
        c.lost += p->lostPictures();
    }
    return c;
}

void measure(const char *phase, video::TForm6 &form, int seconds, bool onlyVisible) {
    StallProbe probe;
    auto *app = static_cast<TimedApplication *>(QCoreApplication::instance());
    app->longestNs = 0;
    app->slowEvents = 0;
    app->longestPaintNs = 0;
    const Counts before = counts(form, onlyVisible);
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    probe.start();
    runFor(seconds * 1000);
    const double cores = (cpuSeconds() - cpu0) / (double(wall.nsecsElapsed()) / 1e9);
    const Counts after = counts(form, onlyVisible);
    std::printf("%s CPU: %.2f cores\n", phase, cores);
    std::printf("%s frames shown: %llu\n", phase,
                static_cast<unsigned long long>(after.shown - before.shown));
    std::printf("%s frames dropped or late: %d\n", phase, after.lost - before.lost);
    std::printf("%s frames not painted: %llu\n", phase,
                static_cast<unsigned long long>(after.replaced - before.replaced));
    std::printf("%s longest stall: %.1f ms\n", phase, probe.longestMs());
    std::printf("%s longest event: %.1f ms\n", phase, double(app->longestNs) / 1e6);
    std::printf("%s events over 8 ms: %d\n", phase, app->slowEvents);
    std::printf("%s longest paint: %.1f ms\n", phase, double(app->longestPaintNs) / 1e6);
    std::fprintf(stderr, "(%s: the longest event was of type %d)\n", phase, app->longestType);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
    const int seconds = argc > 1 ? qMax(2, atoi(argv[1])) : 10;
    const int clipSeconds = 2 * seconds + 15;

    QTemporaryDir dir;
    core::ProgramValues values;
    values.videoFolder = dir.path() + "/video/";
    QDir().mkpath(values.videoFolder);
    const QString ffmpeg = QStringLiteral(KALMO_FFMPEG);
    std::fprintf(stderr, "making the clips...\n");
    const char *patterns[] = {"testsrc2", "testsrc", "smptehdbars", "rgbtestsrc"};
    for (int i = 0; i < 4; ++i) {
        const QString error = testing::makeClip(
            ffmpeg, values.videoFolder + QStringLiteral("preview%1.mp4").arg(i + 1),
            QStringLiteral("%1=size=1280x720:rate=25").arg(QLatin1String(patterns[i])), clipSeconds,
            true);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    const QString error = testing::makeClip(ffmpeg, values.videoFolder + "preview5-full.mp4",
                                            "testsrc2=size=1920x1080:rate=25", clipSeconds, true);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    core::RecordingMessages messages;
    core::SystemClock clock;
    core::IdleClock idle(clock);
    video::VlcLibrary vlc({"--aout=dummy", "--avcodec-hw=none"});
    video::TForm6 form(
        video::VideoServices{values, messages, idle, QSize(1920, 1080), vlc.factory()});
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    form.open();
    while (form.loadingTimer().isActive())
        runFor(50);
    runFor(2000); // every preview running
    measure("previews", form, seconds, false);

    form.playClick(1);
    form.fullScreenClick(1);
    form.nextClick(); // the 1920 x 1080 video
    runFor(2000);
    measure("full screen", form, seconds, true);
    QElapsedTimer closing;
    closing.start();
    form.closeFormClick(); // stops and destroys the four players
    std::printf("close: %.1f ms\n", double(closing.nsecsElapsed()) / 1e6);
    return 0;
}
