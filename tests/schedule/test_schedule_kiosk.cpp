#include "app/kiosk.h"
#include "schedule/schedule_window.h"
#include "tests/support/test_files.h"
#include "tests/web/fake_browser.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using kalmo::testing::writeAll;

// A visitor's path from the main screen's schedule button to a group's PDF.
class TestScheduleKiosk : public QObject {
    Q_OBJECT
private slots:
    void scheduleButtonShowsCountdownAndOpensAPdfInside();
    void noCountdownOnADayOff_data();
    void noCountdownOnADayOff();
};

void TestScheduleKiosk::scheduleButtonShowsCountdownAndOpensAPdfInside() {
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    writeAll(base + "kalmora.ini", "[weather]\nread=0\n");
    core::RecordingMessages messages;
    core::ManualClock clock{QDateTime(QDate(2026, 12, 9), QTime(8, 40, 20))};
    app::Kiosk::Options o;
    o.synchronousFiles = true;
    o.baseFolder = base;
    o.screenSize = QSize(1280, 720);
    o.messages = &messages;
    o.clock = &clock;
    o.randomSeed = 3;
    o.browserFactory = fakeFactory();
    app::Kiosk kiosk(o);

    // The first start wrote the schedule file; give group 1 a real PDF.
    const QString pdf = base + "group1.pdf";
    writeAll(pdf, "%PDF-1.4\n");
    core::IniFile(kiosk.values().scheduleFilePath()).writeString("1", "Dir1", pdf);

    kiosk.surface().show();
    schedule::TMyRaspisanie *screen = kiosk.windows().myRaspisanie;
    QSignalSpy read(screen, &schedule::TMyRaspisanie::filesRead);
    QTest::mouseClick(kiosk.mainWindow().findChild<QPushButton *>("Raspisanie3"), Qt::LeftButton);
    QVERIFY(screen->isVisible());
    QVERIFY(read.wait());
    QCOMPARE(screen->countdown()->text(),
             QStringLiteral("1 занятие начнется через 19 минут 40 секунд."));

    QTest::mouseClick(screen->findChild<QPushButton *>("NewPage1"), Qt::LeftButton);
    QTest::mouseClick(screen->groupPanel(1)->findChild<QPushButton *>("MyButton1"), Qt::LeftButton);
    auto *browser = qobject_cast<FakeBrowser *>(screen->browser());
    QVERIFY(browser);
    QCOMPARE(browser->parentWidget(), screen);
    QTRY_COMPARE(browser->calls, QStringList{"load " + pdf}); // once the document's check answered
    QCOMPARE(screen->groupTitle()->text(), QStringLiteral("Группа1"));

    QTest::mouseClick(screen->closeButton(), Qt::LeftButton);
    QTest::mouseClick(screen->backButton(), Qt::LeftButton);
    QTest::mouseClick(screen->mainMenuButton(), Qt::LeftButton);
    QVERIFY(!screen->isVisible());
}

void TestScheduleKiosk::noCountdownOnADayOff_data() {
    QTest::addColumn<QByteArray>("calendar");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<bool>("lessons");
    const QByteArray ini = "[ini]\nfile=1\nSaturday=1\nSunday=1\n";
    QTest::newRow("holiday") << ini + "[9.12.2026]\neventday=3\n" << QDate(2026, 12, 9) << false;
    QTest::newRow("day off") << ini + "[9.12.2026]\neventday=2\n" << QDate(2026, 12, 9) << false;
    QTest::newRow("event") << ini + "[9.12.2026]\neventday=1\n" << QDate(2026, 12, 9) << true;
    QTest::newRow("Saturday by its flag") << ini << QDate(2026, 12, 12) << false;
    QTest::newRow("Saturday without it")
        << QByteArray("[ini]\nfile=1\nSaturday=0\n") << QDate(2026, 12, 12) << true;
}

void TestScheduleKiosk::noCountdownOnADayOff() {
    QFETCH(QByteArray, calendar);
    QFETCH(QDate, day);
    QFETCH(bool, lessons);
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    writeAll(base + "kalmora.ini", "[weather]\nread=0\n");
    writeAll(base + "dateini.ini", calendar);
    core::RecordingMessages messages;
    core::ManualClock clock{QDateTime(day, QTime(8, 40, 20))};
    app::Kiosk::Options o;
    o.baseFolder = base;
    o.screenSize = QSize(1280, 720);
    o.messages = &messages;
    o.clock = &clock;
    o.browserFactory = fakeFactory();
    app::Kiosk kiosk(o);
    // The calendar file is read in the background.
    QTRY_COMPARE(kiosk.power().isDayOff(day), !lessons);

    kiosk.surface().show();
    schedule::TMyRaspisanie *screen = kiosk.windows().myRaspisanie;
    QSignalSpy read(screen, &schedule::TMyRaspisanie::filesRead);
    QTest::mouseClick(kiosk.mainWindow().findChild<QPushButton *>("Raspisanie3"), Qt::LeftButton);
    QVERIFY(screen->isVisible());
    QVERIFY(read.wait());
    QCOMPARE(screen->countdown()->text(),
             lessons ? QStringLiteral("1 занятие начнется через 19 минут 40 секунд.")
                     : QStringLiteral("Сегодня занятий нет."));
    // The bell list stays.
    QCOMPARE(screen->bellList()->findChildren<QLabel *>().size(), 8);
    QVERIFY(screen->bellList()->isVisible());
}

QTEST_MAIN(TestScheduleKiosk)
#include "test_schedule_kiosk.moc"
