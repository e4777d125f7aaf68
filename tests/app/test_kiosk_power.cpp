#include "admin/settings_dialog.h"
#include "app/kiosk.h"
#include "calendar/calendar_window.h"
#include "fleet/fleet_service.h"
#include "schedule/schedule_window.h"
#include "tests/support/test_files.h"
#include "tests/web/fake_browser.h"
#include "ticker/scrolling_text.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using kalmo::testing::writeAll;

namespace {

const QByteArray kSettings = "[ini]\nfile=1\n[weather]\nread=0\n[time]\npage=20\n";
const QByteArray kSchoolHours = "[power]\non=7:30\noff=18:30\n";

// The whole kiosk on a school day's schedule, its clock moving only when told. 7 December
// 2026 is a Monday.
struct Fixture {
    QTemporaryDir dir;
    QString base = dir.path() + '/';
    core::RecordingMessages messages;
    core::ManualClock clock;
    std::unique_ptr<app::Kiosk> kiosk;

    explicit Fixture(const QTime &time, const QByteArray &settings = kSettings + kSchoolHours)
        : clock(QDateTime(QDate(2026, 12, 7), time), 5000000) {
        writeAll(base + "kalmora.ini", settings);
        app::Kiosk::Options o;
        o.baseFolder = base;
        o.screenSize = QSize(1280, 720);
        o.messages = &messages;
        o.clock = &clock;
        o.randomSeed = 3;
        o.browserFactory = fakeFactory();
        kiosk = std::make_unique<app::Kiosk>(o);
        kiosk->surface().show();
    }
    app::TForm1 &form() { return kiosk->mainWindow(); }
    QPushButton *button(const char *name) { return form().findChild<QPushButton *>(name); }
    QWidget *cover() { return kiosk->power().cover(); }
    void wait(int seconds) {
        clock.advanceMs(seconds * 1000);
        kiosk->power().controller().check();
    }
    void at(const QTime &time) {
        clock.advanceMs(clock.now().msecsTo(QDateTime(clock.now().date(), time)));
        kiosk->power().controller().check();
    }
};

} // namespace

class TestKioskPower : public QObject {
    Q_OBJECT
private slots:
    void startedAtNightItSleepsAtOnce();
    void aTapWakesTheMainScreenWithoutOpeningWhatWasTapped();
    void sleepClosesTheOpenScreen();
    void anOpenSettingsDialogKeepsItAwake();
    void aRereadBringsNewHours();
    void withoutPowerKeysItNeverSleeps();
};

void TestKioskPower::startedAtNightItSleepsAtOnce() {
    Fixture f(QTime(19, 0));
    QSignalSpy textRead(&f.form(), &app::TForm1::runningTextLoaded);
    QTRY_VERIFY(f.kiosk->power().asleep());
    // The running text read at start does not set the line going in the dark.
    QVERIFY(textRead.count() || textRead.wait());
    QVERIFY(f.cover()->isVisible());
    QCOMPARE(f.cover()->geometry(), QRect(0, 0, 1280, 720));
    QVERIFY(f.form().asleep());
    QCOMPARE(f.kiosk->fleet().currentHeartbeat().screen, QStringLiteral("off"));
    for (QTimer *t : {&f.form().clockTimer(), &f.form().slideshowTimer(), &f.form().weatherTimer()})
        QVERIFY2(!t->isActive(), qPrintable(t->objectName()));
    QVERIFY(!f.form().ticker().isActive());
    QVERIFY(!f.kiosk->windows().myRaspisanie->countdownTimer()->isActive());
    QVERIFY(!f.kiosk->windows().myRaspisanie->clockTimer()->isActive());
    // The re-read goes on, so new hours are seen.
    QVERIFY(f.form().rereadTimer().isActive());
    // A timer that a closing screen or a late start read sets going again stops at its first
    // tick, before any photo is decoded or the clock drawn.
    const std::pair<QTimer *, void (app::TForm1::*)()> ticks[] = {
        {&f.form().clockTimer(), &app::TForm1::onClockTick},
        {&f.form().slideshowTimer(), &app::TForm1::onSlideshowTick},
        {&f.form().weatherTimer(), &app::TForm1::onWeatherTick}};
    for (const auto &[timer, tick] : ticks) {
        timer->start();
        (f.form().*tick)();
        QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
    }

    // At the on-time it wakes by itself, everything running again.
    f.clock.advanceMs(f.clock.now().msecsTo(QDateTime(QDate(2026, 12, 8), QTime(7, 30))));
    f.kiosk->power().controller().check();
    QVERIFY(!f.kiosk->power().asleep());
    QVERIFY(!f.cover()->isVisible());
    QCOMPARE(f.kiosk->fleet().currentHeartbeat().screen, QStringLiteral("main"));
    QVERIFY(f.form().clockTimer().isActive());
    QVERIFY(f.form().slideshowTimer().isActive());
    QVERIFY(f.form().ticker().isActive());
    QVERIFY(f.kiosk->windows().myRaspisanie->countdownTimer()->isActive());
}

void TestKioskPower::aTapWakesTheMainScreenWithoutOpeningWhatWasTapped() {
    Fixture f(QTime(19, 0));
    QTRY_VERIFY(f.kiosk->power().asleep());
    f.wait(3600);
    calendar::TFormCalendar *calendar = f.kiosk->windows().formCalendar;
    QTest::mouseClick(f.button("Raspisanie1"), Qt::LeftButton);
    QVERIFY(!f.kiosk->power().asleep());
    QVERIFY(!f.cover()->isVisible());
    QVERIFY(!calendar->isVisible());
    QVERIFY(f.form().clockTimer().isActive());
    // Awake, the next tap is the visitor's.
    QTest::mouseClick(f.button("Raspisanie1"), Qt::LeftButton);
    QVERIFY(calendar->isVisible());
    calendar->close();
    // Asleep again after the idle timeout.
    f.wait(19);
    QVERIFY(!f.kiosk->power().asleep());
    f.wait(1);
    QVERIFY(f.kiosk->power().asleep());
    QVERIFY(f.cover()->isVisible());
}

void TestKioskPower::sleepClosesTheOpenScreen() {
    Fixture f(QTime(18, 29, 50));
    QTest::mouseClick(f.button("Raspisanie3"), Qt::LeftButton);
    schedule::TMyRaspisanie *screen = f.kiosk->windows().myRaspisanie;
    QVERIFY(screen->isVisible());
    f.at(QTime(18, 30));
    QVERIFY(f.kiosk->power().asleep());
    QVERIFY(!screen->isVisible());
    QVERIFY(!screen->idleTimer()->isActive());
}

void TestKioskPower::anOpenSettingsDialogKeepsItAwake() {
    Fixture f(QTime(18, 25));
    admin::TForm3 *settings = f.kiosk->windows().form3;
    settings->openDialog();
    QVERIFY(settings->isVisible());
    f.at(QTime(18, 45));
    QVERIFY(!f.kiosk->power().asleep());
    QVERIFY(settings->isVisible());
    settings->reject();
    f.kiosk->power().controller().check();
    QVERIFY(f.kiosk->power().asleep());
}

void TestKioskPower::aRereadBringsNewHours() {
    Fixture f(QTime(19, 0));
    QTRY_VERIFY(f.kiosk->power().asleep());
    writeAll(f.base + "kalmora.ini", kSettings + "[power]\non=7:30\noff=23:00\n");
    QSignalSpy reread(&f.form(), &app::TForm1::rereadFinished);
    f.form().onRereadTick();
    QVERIFY(reread.wait());
    QCOMPARE(reread.last().at(0).toBool(), true);
    QVERIFY(!f.kiosk->power().asleep());
    QVERIFY(f.form().slideshowTimer().isActive());
    QTRY_VERIFY(f.form().ticker().isActive()); // once its file is read again
    // Back to the old hours: asleep again at once.
    writeAll(f.base + "kalmora.ini", kSettings + kSchoolHours);
    f.form().onRereadTick();
    QVERIFY(reread.wait());
    QVERIFY(f.kiosk->power().asleep());
}

void TestKioskPower::withoutPowerKeysItNeverSleeps() {
    // A kiosk at its first start.
    Fixture f(QTime(3, 0), "[weather]\nread=0\n");
    f.clock.advanceMs(qint64(5) * 24 * 3600 * 1000); // Saturday night
    f.kiosk->power().controller().check();
    QVERIFY(!f.kiosk->power().asleep());
    QVERIFY(!f.cover()->isVisible());
    // The first start wrote none of them.
    QVERIFY(!testing::readAll(f.base + "kalmora.ini").contains("[power]"));
}

QTEST_MAIN(TestKioskPower)
#include "test_kiosk_power.moc"
