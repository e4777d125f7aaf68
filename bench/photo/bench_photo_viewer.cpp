// The photo viewer on a folder of large camera photos: how soon the first page shows all of
// its thumbnails, how long the GUI thread is ever unavailable while the viewer opens, while
// the visitor pages 10 times quickly and while a photo opens full screen, and the process's
// peak memory.
//
// The viewer opens as an overlay of the kiosk's one window, already on screen, as in the
// kiosk; the figures of a second opening show what every later visit costs.
//
// The photos (6000 x 4000 JPEGs) are made by a child process of this program in a temporary
// folder, so that making them counts neither in the times nor in the peak memory.
//
// Usage: bench_photo_viewer [photos=500]
#include "app/surface.h"
#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "photo/photo_window.h"
#include "photo/thumbnail.h"
#include "transitions/picshow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

constexpr int kDistinct = 8; // distinct contents; the other files are hard links to them

// A camera-like photo: smooth colour fields with fine grain, so that the JPEG carries about
// as much detail to decode as a real one.
QImage cameraPhoto(int seed) {
    QImage image(6000, 4000, QImage::Format_RGB32);
    quint32 noise = 2166136261u ^ quint32(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = int(noise >> 28) - 8;
            const int r = std::clamp((x * 255 / 6000 + seed * 40) % 256 + grain, 0, 255);
            const int g = std::clamp((y * 255 / 4000 + seed * 70) % 256 + grain, 0, 255);
            const int b = std::clamp(((x + y) / 40 + seed * 25) % 256 + grain, 0, 255);
            line[x] = qRgb(r, g, b);
        }
    }
    return image;
}

int makePhotos(const QString &folder, int count) {
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("IMG_%1.jpg").arg(i + 1, 4, 10, QChar('0'));
        if (i < kDistinct) {
            if (!cameraPhoto(i).save(path, "JPG", 90))
                return 1;
            continue;
        }
        const QString source =
            folder + QStringLiteral("IMG_%1.jpg").arg(i % kDistinct + 1, 4, 10, QChar('0'));
        std::error_code error;
        std::filesystem::create_hard_link(source.toStdString(), path.toStdString(), error);
        if (error && !QFile::copy(source, path))
            return 1;
    }
    return 0;
}

double peakMemoryMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

// Measures the longest time between two turns of the GUI thread's event loop.
class StallProbe : public QObject {
public:
    StallProbe() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start();
    }
    void restart() {
        m_last = m_clock.nsecsElapsed();
        m_longest = 0;
    }
    // The longest gap beyond the probe's own 1 ms period, in ms.
    double longestMs() const { return std::max<qint64>(0, m_longest - 1000000) / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

template <typename Condition> bool waitFor(Condition condition, int timeoutMs = 120000) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc == 4 && QByteArray(argv[1]) == "--make-photos")
        return makePhotos(QString::fromLocal8Bit(argv[2]), atoi(argv[3]));

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int count = argc > 1 ? std::max(16, atoi(argv[1])) : 500;

    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/photo/");
    std::printf("making %d photos of 6000x4000 (%d distinct, the rest hard links)...\n", count,
                kDistinct);
    if (QProcess::execute(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--make-photos"), folder, QString::number(count)}) != 0) {
        std::fprintf(stderr, "cannot make the photos in %s\n", qPrintable(folder));
        return 1;
    }

    kalmo::core::ProgramValues values;
    values.photoFolder = folder;
    kalmo::core::RecordingMessages messages;
    kalmo::core::SystemClock clock;
    kalmo::core::IdleClock idle(clock);
    kalmo::photo::TForm5 viewer(
        kalmo::photo::PhotoViewerServices{values, messages, idle, QSize(1920, 1080)});
    int pagesShown = 0;
    QObject::connect(&viewer, &kalmo::photo::TForm5::pageShown, [&pagesShown] { ++pagesShown; });

    // The kiosk's main screen is always on screen behind the viewer, so the process has drawn
    // text and pictures before: a first paint's one-off set-up (fonts) is not the viewer's.
    // The viewer is an overlay of the kiosk's one window, as in the kiosk.
    kalmo::app::Surface surface(QSize(1920, 1080));
    surface.setPage(new QLabel(QStringLiteral("Фотоматериалы")));
    surface.overlays().add(&viewer);
    // The viewer is this function's own: it leaves the window before the window goes.
    struct Release {
        QWidget &w;
        ~Release() { w.setParent(nullptr); }
    } release{viewer};
    surface.show();
    QElapsedTimer warm;
    warm.start();
    waitFor([&] { return warm.elapsed() > 200; });

    StallProbe probe;
    waitFor([] { return true; });
    probe.restart();

    // Opening: until all 16 thumbnails of the first page have their pictures.
    QElapsedTimer timer;
    timer.start();
    viewer.open();
    if (!waitFor([&] { return pagesShown == 1; }))
        return 1;
    const double firstPage = timer.nsecsElapsed() / 1e6;
    const double openStall = probe.longestMs();

    // Paging 10 times quickly, 50 ms apart, then until the last page is complete.
    probe.restart();
    for (int k = 0; k < 10; ++k) {
        viewer.speedButton1Click();
        waitFor([&, until = timer.elapsed() + 50] { return timer.elapsed() >= until; });
    }
    if (!waitFor([&] { return pagesShown == 2 && viewer.decoder().pendingThumbnails() == 0; }))
        return 1;
    const double pagingStall = probe.longestMs();

    // One photo full screen, through its transition.
    probe.restart();
    timer.restart();
    viewer.myImageDblClick(1);
    if (!waitFor([&] { return !viewer.picShow().empty(); }))
        return 1;
    const double fullView = timer.nsecsElapsed() / 1e6;
    if (!waitFor([&] { return !viewer.picShow().busy(); }))
        return 1;
    const double fullViewStall = probe.longestMs();

    // Closed and opened again, as a visitor does next: the window's surface now exists.
    viewer.speedButton3Click();
    probe.restart();
    timer.restart();
    viewer.open();
    if (!waitFor([&] { return pagesShown == 3; }))
        return 1;
    const double secondPage = timer.nsecsElapsed() / 1e6;
    const double reopenStall = probe.longestMs();

    bool complete = true;
    for (int n = 1; n <= 16; ++n)
        complete = complete && !viewer.thumbnail(n)->image().isNull();
    std::printf("photos: %d\n", count);
    std::printf("thumbnails complete: %s\n", complete ? "yes" : "no");
    std::printf("first page: %.0f ms\n", firstPage);
    std::printf("longest stall opening: %.1f ms\n", openStall);
    std::printf("first page reopened: %.0f ms\n", secondPage);
    std::printf("longest stall reopening: %.1f ms\n", reopenStall);
    std::printf("longest stall paging: %.1f ms\n", pagingStall);
    std::printf("longest stall: %.1f ms\n", std::max({openStall, pagingStall, reopenStall}));
    std::printf("full view shown: %.0f ms\n", fullView);
    std::printf("longest stall full view: %.1f ms\n", fullViewStall);
    std::printf("peak memory: %.0f MB\n", peakMemoryMb());
    viewer.speedButton3Click();
    return complete && messages.entries.isEmpty() ? 0 : 1;
}
