#include "admin/access_window.h"
#include "admin/general_page.h"
#include "admin/settings_dialog.h"
#include "app/kiosk.h"
#include "calendar/calendar_window.h"
#include "core/ini_file.h"
#include "fleet/fleet_service.h"
#include "schedule/schedule_window.h"
#include "tests/support/test_files.h"
#include "tests/video/fake_media_player.h"
#include "tests/web/fake_browser.h"
#include "ticker/scrolling_text.h"
#include "video/video_window.h"
#include "web/site_view.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using kalmo::testing::writeAll;

namespace {

constexpr int kWaitMs = 20000;

// The whole program over a fresh base folder, with players and browsers that play nothing.
struct Fixture {
    QTemporaryDir dir;
    core::RecordingMessages messages;
    core::ScriptedDialogs dialogs;
    core::ManualClock clock{QDateTime(QDate(2026, 12, 9), QTime(8, 5, 7))};
    kalmo::testing::FakePlayers players;
    std::unique_ptr<app::Kiosk> kiosk;

    explicit Fixture(const QByteArray &notice = {}) {
        QDir(dir.path()).mkdir("video");
        writeAll(dir.filePath("video/clip.mp4"), "not really a video");
        writeAll(dir.filePath("text.txt"), "Добро пожаловать");
        if (!notice.isEmpty())
            writeAll(dir.filePath("notice.txt"), notice);
        app::Kiosk::Options o;
        o.baseFolder = dir.path() + '/';
        o.screenSize = QSize(1280, 800);
        o.messages = &messages;
        o.dialogs = &dialogs;
        o.clock = &clock;
        o.randomSeed = 1;
        o.browserFactory = fakeFactory();
        o.mediaPlayers = players.factory();
        o.hostName = "hall";
        o.synchronousFiles = true;
        kiosk = std::make_unique<app::Kiosk>(o);
        kiosk->surface().show();
    }
    app::TForm1 &form() { return kiosk->mainWindow(); }
    fleet::FleetService &fleet() { return kiosk->fleet(); }
    const app::WindowSet &w() { return kiosk->windows(); }
    void poll() {
        QTRY_VERIFY_WITH_TIMEOUT(fleet().worker().idle(), kWaitMs);
        fleet().poll();
        QTRY_VERIFY_WITH_TIMEOUT(fleet().worker().idle(), kWaitMs);
    }
    QString reported(const char *key) {
        if (!QTest::qWaitFor([this] { return fleet().worker().idle(); }, kWaitMs))
            return "<worker busy>";
        QSignalSpy written(&fleet(), &fleet::FleetService::heartbeatWritten);
        fleet().beat();
        if (!written.wait(kWaitMs))
            return "<not written>";
        return core::IniFile(dir.filePath("kiosks/hall.ini"), core::IniFile::Mode::Snapshot)
            .readString("kiosk", key);
    }
    void enterSettings() {
        QTest::keyClick(&form(), Qt::Key_F3, Qt::ControlModifier);
        w().form4->entry()->clear();
        QTest::keyClicks(w().form4->entry(), "3049");
        for (QPushButton *b : w().form4->findChildren<QPushButton *>())
            if (b->text() == "OK")
                b->click();
    }
};

} // namespace

class TestKioskNotice : public QObject {
    Q_OBJECT
private slots:
    void noticeOverAScreen_data();
    void noticeOverAScreen();
    void noticeInForceAtStart();
};

void TestKioskNotice::noticeOverAScreen_data() {
    QTest::addColumn<QString>("screen");
    for (const char *screen : {"calendar", "video", "schedule", "site", "settings"})
        QTest::newRow(screen) << screen;
}

void TestKioskNotice::noticeOverAScreen() {
    QFETCH(QString, screen);
    Fixture f;
    QWidget *open = nullptr;
    if (screen == "calendar") {
        f.form().openCalendar();
        open = f.w().formCalendar;
    } else if (screen == "video") {
        f.form().openVideo();
        open = f.w().form6;
        f.w().form6->playClick(1);
        QVERIFY(!f.players.made.empty());
        QVERIFY(std::any_of(f.players.made.begin(), f.players.made.end(),
                            [](auto *p) { return p->playing(); }));
    } else if (screen == "schedule") {
        f.form().openSchedule();
        open = f.w().myRaspisanie;
    } else if (screen == "site") {
        f.form().findChild<QPushButton *>("SpeedButton10")->click();
        QVERIFY(f.form().siteView().isOpen());
    } else {
        f.enterSettings();
        open = f.w().form3;
        f.w().form3->generalPage().caption(admin::GeneralPage::Site)->setText("Наш сайт");
    }
    if (open)
        QVERIFY(open->isVisible());
    QCOMPARE(f.reported("screen"), screen);
    const bool slideshowRan = f.form().slideshowTimer().isActive();
    const bool tickerRan = f.form().ticker().isActive();

    writeAll(f.dir.filePath("notice.txt"), "Эвакуация\nВыходите через главный вход");
    f.poll();
    fleet::NoticeOverlay &notice = f.fleet().overlay();
    QVERIFY(notice.isVisible());
    QCOMPARE(notice.accessibleName(), QString("Эвакуация"));
    QCOMPARE(f.kiosk->surface().overlays().top(), &notice);
    QCOMPARE(notice.geometry(), QRect(0, 0, 1280, 800));
    QVERIFY(!f.form().slideshowTimer().isActive());
    QVERIFY(!f.form().ticker().isActive());
    for (auto *player : f.players.made)
        QVERIFY(!player->playing());
    QCOMPARE(f.reported("screen"), QString("notice"));
    QCOMPARE(f.reported("notice"), f.fleet().notice().checksum);
    // Keys and taps reach nothing under the notice.
    QTest::keyClick(&f.form(), Qt::Key_F3, Qt::ControlModifier);
    QTest::keyClick(open ? open : &f.form(), Qt::Key_Escape);
    if (open)
        QVERIFY(open->isVisible());
    QVERIFY(!f.w().form4->isVisible() || screen == "settings");

    QVERIFY(QFile::remove(f.dir.filePath("notice.txt")));
    f.poll();
    QVERIFY(!notice.isVisible());
    if (screen == "settings") {
        QVERIFY(f.w().form3->isVisible());
        QCOMPARE(f.w().form3->generalPage().caption(admin::GeneralPage::Site)->text(),
                 QString("Наш сайт"));
        QCOMPARE(f.reported("screen"), QString("settings"));
    } else {
        if (open)
            QVERIFY(!open->isVisible());
        QVERIFY(!f.form().siteView().isOpen());
        QCOMPARE(f.reported("screen"), QString("main"));
    }
    QCOMPARE(f.reported("notice"), QString());
    // What the notice stopped runs again; after the video and the site the main screen
    // restarts its own.
    QCOMPARE(f.form().slideshowTimer().isActive(),
             slideshowRan || screen == "video" || screen == "site");
    QCOMPARE(f.form().ticker().isActive(), tickerRan);
    if (open && screen != "settings") { // keys work again
        QTest::keyClick(&f.form(), Qt::Key_F3, Qt::ControlModifier);
        QVERIFY(f.w().form4->isVisible());
    }
}

void TestKioskNotice::noticeInForceAtStart() {
    Fixture f("Занятия отменены");
    QTRY_VERIFY_WITH_TIMEOUT(f.fleet().overlay().isVisible(), kWaitMs);
    QCOMPARE(f.fleet().overlay().accessibleName(), QString("Занятия отменены"));
    QCOMPARE(f.reported("screen"), QString("notice"));
    // The screenshot is what the window shows: the notice over the main screen.
    QSignalSpy shot(&f.fleet(), &fleet::FleetService::screenshotWritten);
    f.fleet().takeScreenshot();
    QVERIFY(shot.wait(kWaitMs));
    const QImage picture(f.dir.filePath("kiosks/hall.jpg"));
    QCOMPARE(picture.size(), QSize(960, 600));
    const QColor corner = picture.pixelColor(5, 5);
    QVERIFY2(corner.red() > 160 && corner.green() < 80 && corner.blue() < 80,
             qPrintable(corner.name()));
}

QTEST_MAIN(TestKioskNotice)
#include "test_kiosk_notice.moc"
