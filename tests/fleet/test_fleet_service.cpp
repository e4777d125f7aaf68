#include "core/clock.h"
#include "core/ini_file.h"
#include "fleet/fleet_service.h"
#include "tests/support/test_files.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QLineEdit>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace kalmo;
using namespace kalmo::fleet;
using kalmo::testing::readAll;
using kalmo::testing::writeAll;

namespace {

constexpr int kWaitMs = 20000;

// One kiosk's fleet part over a shared folder, with its own clock and a screen that is a
// plain colour.
struct Kiosk {
    core::ManualClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0))};
    QString screen = "main";
    QList<QRect> bands;
    QList<QThread *> grabThreads;
    std::unique_ptr<FleetService> fleet;

    Kiosk(const QString &folder, const QString &name, QRect screenRect = QRect(0, 0, 1920, 1080),
          bool grabAnywhere = false) {
        FleetServices s{name,
                        "0.9.0",
                        clock,
                        [folder] { return folder; },
                        [this] { return screen; },
                        [] { return QString("p1.jpg"); },
                        [] { return QString(); },
                        screenRect,
                        ScreenSource{[this](const QRect &band) {
                                         bands << band;
                                         grabThreads << QThread::currentThread();
                                         QImage image(band.size(), QImage::Format_RGB32);
                                         image.fill(
                                             QColor(band.top() < 540 ? Qt::blue : Qt::yellow));
                                         return image;
                                     },
                                     grabAnywhere}};
        fleet = std::make_unique<FleetService>(s);
    }
    void beatAndWait() {
        QSignalSpy written(fleet.get(), &FleetService::heartbeatWritten);
        fleet->beat();
        QVERIFY(written.wait(kWaitMs));
    }
    void pollAndWait() {
        fleet->poll();
        QTRY_VERIFY_WITH_TIMEOUT(fleet->worker().idle(), kWaitMs);
    }
};

QString key(const QString &path, const char *name) {
    return core::IniFile(path, core::IniFile::Mode::Snapshot).readString("kiosk", name);
}

} // namespace

class TestFleetService : public QObject {
    Q_OBJECT
private slots:
    void twoKiosksShareOnePage();
    void aChangeOfScreenIsReportedSoon();
    void noticeComesAndGoes();
    void noticeSwallowsInput();
    void screenshotOnRequestIsTakenInBands();
    void screenshotGrabbedOnTheWorkerWhereItCan();
    void hungShareHoldsOnlyItsOwnKind();
};

void TestFleetService::twoKiosksShareOnePage() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    Kiosk hall(folder, "hall");
    Kiosk gym(folder, "gym");
    hall.beatAndWait();
    const QString beat = folder + "kiosks/hall.ini";
    QCOMPARE(key(beat, "name"), QString("hall"));
    QCOMPARE(key(beat, "version"), QString("0.9.0"));
    QCOMPARE(key(beat, "started"), QString("2026-12-09 09:00:00"));
    QCOMPARE(key(beat, "updated"), QString("2026-12-09 09:00:00"));
    QCOMPARE(key(beat, "screen"), QString("main"));
    QCOMPARE(key(beat, "photo"), QString("p1.jpg"));
    QCOMPARE(key(beat, "notice"), QString());
    QVERIFY(key(beat, "memory").toInt() > 0);

    gym.clock.advanceMs(30000);
    gym.beatAndWait();
    QString page = QString::fromUtf8(readAll(folder + "kiosks/index.html"));
    QCOMPARE(page.count("работает"), 2);
    QVERIFY(page.indexOf(">gym<") < page.indexOf(">hall<"));

    // hall stops; gym goes on beating for four minutes.
    gym.clock.advanceMs(4 * 60000);
    gym.beatAndWait();
    page = QString::fromUtf8(readAll(folder + "kiosks/index.html"));
    QCOMPARE(page.count("работает"), 1);
    QVERIFY(page.contains("нет связи 4 мин"));
    // Both rewrite the page: hall's next beat keeps gym's card.
    hall.clock.setNow(gym.clock.now());
    hall.beatAndWait();
    QCOMPARE(QString::fromUtf8(readAll(folder + "kiosks/index.html")).count("работает"), 2);

    hall.fleet->setAsleep(true);
    QCOMPARE(hall.fleet->reportedScreen(), QString("off"));
}

void TestFleetService::aChangeOfScreenIsReportedSoon() {
    QTemporaryDir dir;
    Kiosk k(dir.path() + '/', "k");
    k.fleet->start();
    QTRY_COMPARE_WITH_TIMEOUT(key(dir.filePath("kiosks/k.ini"), "screen"), QString("main"),
                              kWaitMs);
    k.screen = "calendar";
    // Well within the five seconds allowed.
    QSignalSpy written(k.fleet.get(), &FleetService::heartbeatWritten);
    QVERIFY(written.wait(FleetService::kWatchMs + FleetService::kChangeDelayMs + 2000));
    QCOMPARE(key(dir.filePath("kiosks/k.ini"), "screen"), QString("calendar"));
}

void TestFleetService::noticeComesAndGoes() {
    QTemporaryDir dir;
    Kiosk k(dir.path() + '/', "k", QRect(0, 0, 800, 600));
    QSignalSpy shown(k.fleet.get(), &FleetService::noticeShown);
    QSignalSpy gone(k.fleet.get(), &FleetService::noticeGone);
    k.pollAndWait();
    QCOMPARE(shown.count(), 0);

    writeAll(dir.filePath("notice.txt"), "Эвакуация\nВыходите через главный вход");
    k.pollAndWait();
    QCOMPARE(shown.count(), 1);
    NoticeOverlay &overlay = k.fleet->overlay();
    QVERIFY(overlay.isVisible());
    QVERIFY(overlay.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(overlay.accessibleName(), QString("Эвакуация"));
    QCOMPARE(overlay.accessibleDescription(), QString("Выходите через главный вход"));
    QCOMPARE(overlay.geometry(), QRect(0, 0, 800, 600));
    const QImage picture = overlay.grab().toImage();
    QCOMPARE(picture.pixelColor(2, 2), QColor(0xc6, 0x28, 0x28));
    QVERIFY(!overlay.close()); // only the file takes it away

    k.beatAndWait();
    QCOMPARE(key(dir.filePath("kiosks/k.ini"), "screen"), QString("notice"));
    const QString checksum = key(dir.filePath("kiosks/k.ini"), "notice");
    QCOMPARE(checksum, k.fleet->notice().checksum);
    QVERIFY(!checksum.isEmpty());

    // A new text replaces the one shown; it does not come again.
    writeAll(dir.filePath("notice.txt"), "Эвакуация\nВыходите через запасной выход");
    k.pollAndWait();
    QCOMPARE(shown.count(), 1);
    QCOMPARE(overlay.accessibleDescription(), QString("Выходите через запасной выход"));
    QVERIFY(k.fleet->notice().checksum != checksum);

    writeAll(dir.filePath("notice.txt"), "\r\n");
    k.pollAndWait();
    QCOMPARE(gone.count(), 1);
    QVERIFY(!overlay.isVisible());
    k.beatAndWait();
    QCOMPARE(key(dir.filePath("kiosks/k.ini"), "screen"), QString("main"));
    QCOMPARE(key(dir.filePath("kiosks/k.ini"), "notice"), QString());

    writeAll(dir.filePath("notice.txt"), "Снова");
    k.pollAndWait();
    QVERIFY(QFile::remove(dir.filePath("notice.txt")));
    k.pollAndWait();
    QCOMPARE(shown.count(), 2);
    QCOMPARE(gone.count(), 2);
}

void TestFleetService::noticeSwallowsInput() {
    QTemporaryDir dir;
    Kiosk k(dir.path() + '/', "k", QRect(0, 0, 800, 600));
    QLineEdit entry;
    entry.show();
    QTest::keyClicks(&entry, "ab");
    QCOMPARE(entry.text(), QString("ab"));

    k.fleet->applyNotice(noticeFromBytes("Тревога"));
    QTest::keyClicks(&entry, "cd");
    QTest::mouseClick(&entry, Qt::LeftButton);
    QTest::keyClick(&k.fleet->overlay(), Qt::Key_Escape);
    QCOMPARE(entry.text(), QString("ab"));
    QVERIFY(k.fleet->overlay().isVisible());

    k.fleet->applyNotice(Notice());
    QTest::keyClicks(&entry, "e");
    QCOMPARE(entry.text(), QString("abe"));
}

void TestFleetService::screenshotOnRequestIsTakenInBands() {
    QTemporaryDir dir;
    Kiosk k(dir.path() + '/', "k");
    QVERIFY(QDir().mkpath(dir.filePath("kiosks")));
    writeAll(dir.filePath("kiosks/k.shot"), "");
    QSignalSpy written(k.fleet.get(), &FleetService::screenshotWritten);
    k.fleet->poll();
    QVERIFY(written.wait(kWaitMs));
    QVERIFY(!QFile::exists(dir.filePath("kiosks/k.shot")));

    // Grabbed on the GUI thread, a band per turn, covering the screen once.
    QVERIFY(k.bands.size() >= 1080 / FleetService::kBandRows);
    int rows = 0;
    for (const QRect &band : k.bands) {
        QCOMPARE(band.top(), rows);
        QCOMPARE(band.width(), 1920);
        QVERIFY(band.height() <= FleetService::kBandRows);
        rows += band.height();
    }
    QCOMPARE(rows, 1080);
    for (QThread *t : k.grabThreads)
        QCOMPARE(t, QThread::currentThread());

    QImageReader reader(dir.filePath("kiosks/k.jpg"));
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage shot = reader.read();
    QCOMPARE(shot.size(), QSize(960, 540));
    QVERIFY(qBlue(shot.pixel(480, 100)) > 200 && qRed(shot.pixel(480, 100)) < 60);
    QVERIFY(qBlue(shot.pixel(480, 500)) < 60 && qRed(shot.pixel(480, 500)) > 200);
}

void TestFleetService::screenshotGrabbedOnTheWorkerWhereItCan() {
    QTemporaryDir dir;
    Kiosk k(dir.path() + '/', "k", QRect(0, 0, 1280, 1024), true);
    QSignalSpy written(k.fleet.get(), &FleetService::screenshotWritten);
    k.fleet->takeScreenshot();
    QVERIFY(written.wait(kWaitMs));
    QCOMPARE(k.bands, QList<QRect>({QRect(0, 0, 1280, 1024)}));
    QVERIFY(k.grabThreads.first() != QThread::currentThread());
    QCOMPARE(QImageReader(dir.filePath("kiosks/k.jpg")).size(), QSize(960, 768));
}

void TestFleetService::hungShareHoldsOnlyItsOwnKind() {
    ShareWorker worker(200);
    QSemaphore share;
    bool beatDone = false;
    QVERIFY(worker.run<int>(
        ShareWorker::Heartbeat, [&share] { return share.acquire(), 1; },
        [&](int) { beatDone = true; }));
    // Refused while the first still hangs: no pile of blocked threads.
    QVERIFY(!worker.run<int>(ShareWorker::Heartbeat, [] { return 2; }, {}));
    int notice = 0;
    QVERIFY(worker.run<int>(
        ShareWorker::Notice, [] { return 7; }, [&](int v) { notice = v; }));
    QTRY_COMPARE_WITH_TIMEOUT(notice, 7, kWaitMs);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("has not answered the heartbeat job"));
    QTRY_VERIFY_WITH_TIMEOUT(worker.reportedHung(ShareWorker::Heartbeat), kWaitMs);
    QVERIFY(!worker.reportedHung(ShareWorker::Notice));
    share.release();
    QTRY_VERIFY_WITH_TIMEOUT(beatDone, kWaitMs);
    QVERIFY(worker.idle());
}

QTEST_MAIN(TestFleetService)
#include "test_fleet_service.moc"
