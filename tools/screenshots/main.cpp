// Starts the kiosk on a base folder and captures each screen into a folder of PNG files:
// kalmo-screenshots <base folder> <output folder>. Run it through scripts/screenshots, which
// gives it an X server and the sample content.
#include "admin/settings_dialog.h"
#include "app/kiosk.h"
#include "calendar/calendar_editor.h"
#include "calendar/calendar_window.h"
#include "core/program_folders.h"
#include "fleet/fleet_page.h"
#include "fleet/fleet_service.h"
#include "photo/photo_window.h"
#include "schedule/schedule_window.h"
#include "video/video_window.h"
#include "video/vlc_player.h"
#include "web/engine_setup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTimer>
#include <QWebEngineView>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Shot {
    const char *name;
    std::function<void()> open;
    std::function<void()> close;
    int settleMs; // screens with loading panels or fetches need a moment to settle
    // After settling, the capture waits (up to kReadyLimitMs) until this holds.
    std::function<bool()> ready = [] { return true; };
};

constexpr int kReadyLimitMs = 30000;
constexpr int kReadyPollMs = 100;

// Every tile of the video player shows frames of its clip, the loading panel gone.
bool videoTilesPlaying(kalmo::video::TForm6 &player) {
    if (player.loadingTimer().isActive())
        return false;
    for (int tile = 1; tile <= 4; ++tile) {
        auto *vlc = dynamic_cast<kalmo::video::VlcPlayer *>(player.player(tile));
        if (vlc && vlc->frames().framesShown() < 10)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kalmo-screenshots <base folder> <output folder>\n");
        return 2;
    }
    kalmo::web::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const auto folders = kalmo::core::resolveProgramFolders(QCoreApplication::applicationDirPath(),
                                                            QString::fromLocal8Bit(argv[1]), {});
    const QString out = QDir(QString::fromLocal8Bit(argv[2])).absolutePath() + u'/';
    QDir().mkpath(folders.base);
    QDir().mkpath(out);
    kalmo::core::copyMissing(folders.data + QStringLiteral("sample"), folders.base);

    kalmo::app::Kiosk::Options options;
    options.baseFolder = folders.base;
    options.programDataFolder = folders.data;
    options.screenSize = QGuiApplication::primaryScreen()->geometry().size();
    kalmo::app::Kiosk kiosk(options);
    kiosk.surface().show();

    auto &main = kiosk.mainWindow();
    const auto &w = kiosk.windows();
    // The settings dialog keeps the page it was left on; each shot shows one page.
    const auto settingsPage = [&](int page) {
        w.form3->pages()->setCurrentIndex(page);
        w.form3->openDialog();
    };
    // The fleet page with two more kiosks beside this one: one silent for seven minutes, one
    // asleep by the display schedule; their screenshots are screens shot before.
    const QString kiosks = kiosk.values().dataFolder() + QStringLiteral("kiosks/");
    QWebEngineView fleetPage;
    fleetPage.setGeometry(QGuiApplication::primaryScreen()->geometry());
    const auto showFleet = [&] {
        QDir().mkpath(kiosks);
        const QDateTime now = QDateTime::currentDateTime();
        const struct {
            const char *name;
            const char *picture;
            const char *screen;
            int age;
        } others[] = {{"Спортзал", "calendar", "calendar", 7 * 60},
                      {"Библиотека", "schedule", "off", 20}};
        for (const auto &o : others) {
            kalmo::fleet::Heartbeat beat;
            beat.name = QString::fromUtf8(o.name);
            beat.version = QCoreApplication::applicationVersion();
            beat.started = now.addSecs(-3 * 3600);
            beat.updated = now.addSecs(-o.age);
            beat.screen = QLatin1String(o.screen);
            QFile file(kiosks + beat.name + QStringLiteral(".ini"));
            if (file.open(QIODevice::WriteOnly))
                file.write(kalmo::fleet::formatHeartbeat(beat));
            QImage(out + QLatin1String(o.picture) + QStringLiteral(".png"))
                .scaledToWidth(kalmo::fleet::kShotMaxWidth, Qt::SmoothTransformation)
                .save(kiosks + beat.name + QStringLiteral(".jpg"), "JPG", 80);
        }
        kiosk.fleet().takeScreenshot();
        QTimer::singleShot(2000, &app, [&] {
            kiosk.fleet().beat();
            QTimer::singleShot(1500, &app, [&] {
                fleetPage.load(QUrl::fromLocalFile(kiosks + QStringLiteral("index.html")));
                fleetPage.show();
            });
        });
    };
    const QString noticeFile = kiosk.values().dataFolder() + QStringLiteral("notice.txt");
    const auto showNotice = [&] {
        QFile file(noticeFile);
        if (file.open(QIODevice::WriteOnly))
            file.write("Внимание!\nСегодня второй корпус закрыт. Занятия проходят в главном "
                       "корпусе, вход с улицы Мира.");
        file.close();
        kiosk.fleet().poll();
    };
    const std::vector<Shot> shots = {
        {"main", [] {}, [] {}, 4000},
        {"calendar", [&] { main.openCalendar(); }, [&] { w.formCalendar->close(); }, 2000},
        {"schedule", [&] { main.openSchedule(); }, [&] { w.myRaspisanie->close(); }, 2000},
        {"photo", [&] { main.openPhotoViewer(); }, [&] { w.form5->close(); }, 3000},
        {"video", [&] { main.openVideo(); }, [&] { w.form6->close(); }, 1000,
         [&] { return videoTilesPlaying(*w.form6); }},
        {"calendar-editor",
         [&] {
             main.openCalendar();
             w.formCalendarSetting->open();
         },
         [&] {
             w.formCalendarSetting->close();
             w.formCalendar->close();
         },
         2000},
        {"settings", [&] { settingsPage(0); }, [&] { w.form3->reject(); }, 2000},
        {"settings-calendar", [&] { settingsPage(1); }, [&] { w.form3->reject(); }, 1000},
        {"settings-schedule", [&] { settingsPage(2); }, [&] { w.form3->reject(); }, 1000},
        {"settings-bells", [&] { settingsPage(3); }, [&] { w.form3->reject(); }, 1000},
        {"notice", showNotice,
         [&] {
             QFile::remove(noticeFile);
             kiosk.fleet().poll();
         },
         2000},
        {"fleet", showFleet, [&] { fleetPage.hide(); }, 8000},
    };

    // One screen after another: open, let it settle, capture the whole screen, close.
    std::size_t next = 0;
    int waited = 0;
    std::function<void()> capture;
    std::function<void()> step = [&] {
        if (next == shots.size()) {
            // quit() would ask the kiosk's windows to close, and the main window refuses.
            QCoreApplication::exit(0);
            return;
        }
        const Shot &shot = shots[next];
        shot.open();
        waited = 0;
        QTimer::singleShot(shot.settleMs, &app, capture);
    };
    capture = [&] {
        const Shot &s = shots[next];
        if (!s.ready() && waited < kReadyLimitMs) {
            waited += kReadyPollMs;
            QTimer::singleShot(kReadyPollMs, &app, capture);
            return;
        }
        if (waited >= kReadyLimitMs)
            std::fprintf(stderr, "kalmo-screenshots: %s was not ready in time\n", s.name);
        const QString file = out + QLatin1String(s.name) + QStringLiteral(".png");
        if (!QGuiApplication::primaryScreen()->grabWindow(0).save(file))
            std::fprintf(stderr, "kalmo-screenshots: cannot write %s\n", qPrintable(file));
        else
            std::printf("%s\n", qPrintable(file));
        s.close();
        ++next;
        QTimer::singleShot(500, &app, step);
    };
    QTimer::singleShot(0, &app, step);
    return QApplication::exec();
}
