// The kiosk on a real network share whose server stops answering. The main settings file,
// the calendar and schedule files, the running text and the photo folder lie on an sshfs
// mount over loopback (scripts/with-share); the server is stopped (SIGSTOP) for a while, and
// meanwhile the slideshow runs, the settings are re-read every 5 s and a visitor opens and
// closes the calendar and the schedule screens. A 10 ms timer on the GUI thread measures the
// longest gap between its ticks, offscreen.
//
//   longest GUI stall during a 60 s share hang   the longest gap between two ticks
//   clock changes during the hang                how often the clock panel's text changed
//   keys kept of 800                             four writer processes, 200 keys each, into
//                                                one file on the share (before the hang)
//   share writes per second                      the four writers' writes, together
//
// Usage: bench_share [hang seconds=60]     (runs itself under scripts/with-share)
#include "app/kiosk.h"
#include "calendar/calendar_window.h"
#include "core/ini_file.h"
#include "schedule/schedule_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const char *const kWithShare = KALMO_SOURCE "/scripts/with-share";

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void share(const char *what) {
    if (QProcess::execute(QString::fromLatin1(kWithShare), {QString::fromLatin1(what)}) != 0)
        qFatal("with-share %s failed", what);
}

// Everything the kiosk reads from the settings folder, on the share.
void fillShare(const QString &folder) {
    QDir().mkpath(folder + "photo");
    for (int i = 0; i < 4; ++i) {
        QImage img(1600, 1200, QImage::Format_RGB32);
        img.fill(QColor::fromHsv(i * 80 % 360, 180, 220));
        img.save(folder + QStringLiteral("photo/p%1.jpg").arg(i), "JPG", 85);
    }
    writeFile(folder + "text.txt", QStringLiteral("Объявление на общем ресурсе. ").toUtf8());
    const QByteArray f = folder.toUtf8();
    writeFile(folder + "kalmora.ini", "[ini]\nfile=1\n[weather]\nread=0\n[time]\nimage=1\n"
                                      "readsetting=30\npage=20\n[dir]\nDirimage=" +
                                          f + "photo/\nDirvideo=" + f + "video/\n[file]\n" +
                                          "ScrollingText=" + f + "text.txt\n");
}

// Four processes of this program write 200 keys each into one file on the share at once.
void concurrentWriters(const QString &folder) {
    const QString path = folder + "writers.ini";
    QElapsedTimer took;
    took.start();
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < 4; ++w) {
        auto &p = writers.emplace_back(std::make_unique<QProcess>());
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(),
                 {"--write-keys", path, QStringLiteral("w%1-").arg(w), "200"});
    }
    for (auto &p : writers)
        p->waitForFinished(-1);
    const double seconds = double(took.elapsed()) / 1000;
    const kalmo::core::IniFile result(path);
    std::printf("keys kept of 800: %lld\n", static_cast<long long>(result.keys("keys").size()));
    std::printf("share writes per second: %.1f\n", 800 / seconds);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc == 5 && QByteArray(argv[1]) == "--write-keys") {
        QCoreApplication app(argc, argv);
        kalmo::core::IniFile ini(QString::fromLocal8Bit(argv[2]));
        const QString prefix = QString::fromLocal8Bit(argv[3]);
        int refused = 0;
        for (int i = 0, n = atoi(argv[4]); i < n; ++i) {
            try {
                ini.writeString("keys", prefix + QString::number(i), QString::number(i));
            } catch (const kalmo::core::IniWriteError &e) {
                std::fprintf(stderr, "%s\n", e.what());
                ++refused;
            }
        }
        return refused == 0 ? 0 : 1;
    }
    if (qEnvironmentVariableIsEmpty("KALMO_SHARE")) {
        std::vector<char *> args{const_cast<char *>(kWithShare)};
        args.insert(args.end(), argv, argv + argc);
        args.push_back(nullptr);
        execv(kWithShare, args.data());
        std::perror("bench_share: cannot run scripts/with-share");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int hangSeconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;

    QTemporaryDir baseDir;
    const QString base = baseDir.path() + '/';
    const QString folder = qEnvironmentVariable("KALMO_SHARE") +
                           QStringLiteral("/kiosk%1/").arg(QCoreApplication::applicationPid());
    fillShare(folder);
    concurrentWriters(folder);
    writeFile(base + "filesetting.ini",
              "[ini]\nfile=1\n[file]\nfiledir=" + folder.toUtf8() + "kalmora.ini\n");

    kalmo::core::RecordingMessages messages;
    kalmo::app::Kiosk::Options options;
    options.baseFolder = base;
    options.programDataFolder = QStringLiteral(KALMO_ASSETS "/");
    options.screenSize = QSize(1280, 720);
    options.messages = &messages;
    kalmo::app::Kiosk kiosk(options);
    kalmo::app::TForm1 &form = kiosk.mainWindow();
    kiosk.surface().show();
    auto *clock = form.findChild<QLabel *>(QStringLiteral("Panel1"));

    // The probe: the longest gap between ticks while the share hangs.
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    int clockChanges = 0;
    QString lastClock;
    bool hanging = false;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 gap = sinceTick.restart();
        if (!hanging)
            return;
        longest = std::max(longest, gap);
        if (clock->text() != lastClock) {
            lastClock = clock->text();
            ++clockChanges;
        }
    });

    // A visitor and the re-read timer at work while the share hangs.
    int step = 0;
    QTimer visitor;
    visitor.setInterval(1000);
    QObject::connect(&visitor, &QTimer::timeout, [&] {
        switch (step++ % 5) {
        case 0:
            form.onRereadTick();
            break;
        case 1:
            form.openCalendar();
            break;
        case 2:
            kiosk.windows().formCalendar->closeScreen();
            break;
        case 3:
            form.openSchedule();
            break;
        case 4:
            kiosk.windows().myRaspisanie->close();
            break;
        }
    });

    QTimer::singleShot(3000, [&] {
        share("stop");
        // Should the GUI thread itself be stuck on the share, this wakes the server so the
        // measurement can end (and show how long the stall was).
        std::thread([hangSeconds] {
            std::this_thread::sleep_for(std::chrono::milliseconds(hangSeconds * 1000 + 500));
            if (std::system(
                    (QString::fromLatin1(kWithShare) + " cont").toLocal8Bit().constData()) != 0)
                std::fputs("bench_share: with-share cont failed\n", stderr);
        }).detach();
        hanging = true;
        lastClock = clock->text();
        sinceTick.start();
        probe.start();
        visitor.start();
        QTimer::singleShot(hangSeconds * 1000, [&] {
            hanging = false;
            visitor.stop();
            probe.stop();
            share("cont");
            std::printf("longest GUI stall during a %d s share hang: %lld ms\n", hangSeconds,
                        static_cast<long long>(longest));
            std::printf("clock changes during the hang: %d of %d\n", clockChanges, hangSeconds);
            std::fflush(stdout);
            QCoreApplication::exit(
                0); // quit() would ask the main window, which asks for the password
        });
    });
    return QApplication::exec();
}
