// The kiosk on a real network share (scripts/with-share: sshfs over loopback) whose server
// stops answering, as a Wi-Fi drop or a busy file server does. Skipped unless run under
// with-share (CTest's share registration does that).
#include "app/kiosk.h"
#include "calendar/calendar_window.h"
#include "schedule/schedule_window.h"
#include "tests/support/test_files.h"
#include "tests/web/fake_browser.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using kalmo::testing::writeAll;

namespace {

void server(const char *what) {
    QCOMPARE(QProcess::execute(QStringLiteral(KALMO_SOURCE "/scripts/with-share"),
                               {QString::fromLatin1(what)}),
             0);
}

QByteArray settings(const QString &base, const QString &folder, const QByteArray &site) {
    // The photos stay local: their folder is another piece of work's. No idle close while the
    // screens wait.
    return "[ini]\nfile=1\n[weather]\nread=0\n[time]\nimage=0\npage=600\n[dir]\nDirimage=" +
           base.toUtf8() + "photo/\n[file]\nScrollingText=" + folder.toUtf8() +
           "text.txt\n[Name]\nButtonSite=" + site + "\n";
}

} // namespace

class TestShareHang : public QObject {
    Q_OBJECT
private slots:
    void guiThreadRunsOnWhileTheShareHangs();
};

void TestShareHang::guiThreadRunsOnWhileTheShareHangs() {
    const QString share = qEnvironmentVariable("KALMO_SHARE");
    if (share.isEmpty())
        QSKIP("needs a network share: runs under scripts/with-share");
    const QString serverSide = qEnvironmentVariable("KALMO_SHARE_SERVER");
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    const QString sub = QStringLiteral("hang%1/").arg(QCoreApplication::applicationPid());
    const QString folder = share + '/' + sub;
    QVERIFY(QDir().mkpath(folder));
    writeAll(folder + "kalmora.ini", settings(base, folder, "Первый"));
    writeAll(folder + "text.txt", QStringLiteral("Бегущая строка").toUtf8());
    writeAll(base + "filesetting.ini",
             "[ini]\nfile=1\n[file]\nfiledir=" + folder.toUtf8() + "kalmora.ini\n");

    core::RecordingMessages messages;
    app::Kiosk::Options o;
    o.baseFolder = base;
    o.programDataFolder = QStringLiteral(KALMO_ASSETS "/");
    o.screenSize = QSize(1280, 720);
    o.messages = &messages;
    o.browserFactory = fakeFactory();
    app::Kiosk kiosk(o);
    app::TForm1 &form = kiosk.mainWindow();
    QSignalSpy textLoaded(&form, &app::TForm1::runningTextLoaded);
    kiosk.surface().show();
    QVERIFY(textLoaded.wait(10000));
    auto *site = form.findChild<QPushButton *>("SpeedButton10");
    QCOMPARE(site->text(), QStringLiteral("Первый  "));

    // The watchdog: a timer on the GUI thread, counted while everything else waits.
    int ticks = 0;
    QTimer watchdog;
    watchdog.setInterval(10);
    connect(&watchdog, &QTimer::timeout, this, [&] { ++ticks; });

    server("stop");
    watchdog.start();
    QSignalSpy reread(&form, &app::TForm1::rereadFinished);
    form.onRereadTick();
    // A visitor opens the calendar and the schedule meanwhile.
    calendar::TFormCalendar &calendarScreen = *kiosk.windows().formCalendar;
    QSignalSpy calendarRead(&calendarScreen, &calendar::TFormCalendar::snapshotRead);
    form.openCalendar();
    QVERIFY(calendarScreen.isVisible());
    QVERIFY(!calendarScreen.title()->text().isEmpty()); // the month is there at once
    QVERIFY(calendarRead.wait(30000));
    QCOMPARE(calendarRead.first().at(0).toBool(), false);
    calendarScreen.closeScreen();
    schedule::TMyRaspisanie &scheduleScreen = *kiosk.windows().myRaspisanie;
    QSignalSpy scheduleRead(&scheduleScreen, &schedule::TMyRaspisanie::filesRead);
    form.openSchedule();
    QVERIFY(scheduleScreen.isVisible());
    QVERIFY(scheduleRead.wait(30000));
    QVERIFY(scheduleScreen.unavailableLine()->isVisible());
    scheduleScreen.close();

    // The re-read gave up at its time limit and kept the values in force.
    QTRY_VERIFY_WITH_TIMEOUT(!reread.isEmpty(), 30000);
    QCOMPARE(reread.first().at(0).toBool(), false);
    QCOMPARE(site->text(), QStringLiteral("Первый  "));
    QCOMPARE(form.rereadTimer().interval(), 300000);
    // Two time limits went by: the watchdog ran all along (a stuck thread lets it tick once).
    QVERIFY2(ticks > 200, qPrintable(QString::number(ticks)));

    // The share comes back with a change made on the server meanwhile: the next re-read
    // takes it.
    writeAll(serverSide + '/' + sub + "kalmora.ini", settings(base, folder, "Второй"));
    server("cont");
    // The read that was left waiting finishes now and is applied late.
    QTRY_VERIFY_WITH_TIMEOUT(reread.size() >= 2, 30000);
    reread.clear();
    form.onRereadTick();
    QTRY_VERIFY_WITH_TIMEOUT(!reread.isEmpty(), 30000);
    QCOMPARE(reread.first().at(0).toBool(), true);
    QCOMPARE(site->text(), QStringLiteral("Второй  "));
    watchdog.stop();
}

QTEST_MAIN(TestShareHang)
#include "test_share_hang.moc"
