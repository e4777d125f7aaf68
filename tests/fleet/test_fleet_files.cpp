#include "core/text_codec.h"
#include "fleet/fleet_page.h"
#include "fleet/heartbeat.h"
#include "fleet/kiosk_name.h"
#include "fleet/notice.h"
#include "tests/support/test_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using namespace kalmo::fleet;
using kalmo::testing::writeAll;

namespace {

const QDateTime kNow(QDate(2026, 12, 9), QTime(10, 0, 0));

Heartbeat beatAt(const QString &name, const QDateTime &updated, const QString &screen = "main") {
    Heartbeat b;
    b.name = name;
    b.fileName = name + ".ini";
    b.version = "0.9.0";
    b.started = kNow.addSecs(-3600);
    b.updated = updated;
    b.screen = screen;
    return b;
}

} // namespace

class TestFleetFiles : public QObject {
    Q_OBJECT
private slots:
    void kioskNames_data();
    void kioskNames();

    void heartbeatRoundTrips();
    void heartbeatsListedInNaturalOrder();

    void noticeText_data();
    void noticeText();
    void noticeChecksumFollowsTheTextNotTheEncoding();
    void noticeFiles();

    void statuses_data();
    void statuses();
    void pageShowsEveryKioskEscaped();
};

void TestFleetFiles::kioskNames_data() {
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("expected");
    QTest::newRow("configured") << "Холл-1"
                                << "Холл-1";
    QTest::newRow("blank falls back to the host") << "  "
                                                  << "host7";
    QTest::newRow("trimmed") << "  hall  "
                             << "hall";
    QTest::newRow("no way out of the folder") << "../../etc/x"
                                              << ".._.._etc_x";
    QTest::newRow("windows-unsafe characters") << "a:b*c?\"d<e>f|g\\h"
                                               << "a_b_c__d_e_f_g_h";
    QTest::newRow("dots only") << ".."
                               << "kiosk";
}

void TestFleetFiles::kioskNames() {
    QFETCH(QString, configured);
    QFETCH(QString, expected);
    QCOMPARE(kioskName(configured, "host7"), expected);
}

void TestFleetFiles::heartbeatRoundTrips() {
    QTemporaryDir dir;
    Heartbeat b = beatAt("Холл", kNow, "notice");
    b.photo = "лето 2.jpg";
    b.notice = "0a1b2c3d";
    b.error = "first line\nsecond line"; // a value is one line
    b.memoryMb = 187;
    const QByteArray bytes = formatHeartbeat(b);
    QVERIFY(bytes.startsWith("[kiosk]\r\nname=Холл\r\n"));
    QVERIFY(bytes.contains("updated=2026-12-09 10:00:00\r\n"));
    QVERIFY(bytes.contains("error=first line second line\r\n"));
    writeAll(dir.filePath("Холл.ini"), bytes);

    const Heartbeat r = readHeartbeat(dir.filePath("Холл.ini"));
    QCOMPARE(r.name, b.name);
    QCOMPARE(r.version, b.version);
    QCOMPARE(r.started, b.started);
    QCOMPARE(r.updated, b.updated);
    QCOMPARE(r.screen, b.screen);
    QCOMPARE(r.photo, b.photo);
    QCOMPARE(r.notice, b.notice);
    QCOMPARE(r.error, QString("first line second line"));
    QCOMPARE(r.memoryMb, 187);
    QCOMPARE(r.fileName, QString("Холл.ini"));

    // Written by hand in the code page, with a time nobody can read.
    writeAll(dir.filePath("old.ini"),
             "[Kiosk]\r\nNAME=" + core::toWindows1251("Старый") + "\r\nupdated=yesterday\r\n");
    const Heartbeat old = readHeartbeat(dir.filePath("old.ini"));
    QCOMPARE(old.name, QString("Старый"));
    QVERIFY(!old.updated.isValid());
}

void TestFleetFiles::heartbeatsListedInNaturalOrder() {
    QTemporaryDir dir;
    for (const QString name : {"k10", "k2", "k1"})
        writeAll(dir.filePath(name + ".ini"), formatHeartbeat(beatAt(name, kNow)));
    writeAll(dir.filePath("stray.ini"), "not a heartbeat\n");
    writeAll(dir.filePath("k3.jpg"), "jpeg");
    QStringList names;
    for (const Heartbeat &b : readHeartbeats(dir.path()))
        names << b.name;
    QCOMPARE(names, QStringList({"k1", "k2", "k10"}));
}

void TestFleetFiles::noticeText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf-8, crlf") << QByteArray("Эвакуация\r\nВыходите через\r\nглавный вход\r\n")
                                 << true << "Эвакуация"
                                 << "Выходите через\nглавный вход";
    QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBFЗакрыто") << true << "Закрыто"
                                    << "";
    QTest::newRow("windows-1251") << core::toWindows1251("Вход закрыт\nИдите к крыльцу №2") << true
                                  << "Вход закрыт"
                                  << "Идите к крыльцу №2";
    QTest::newRow("blank lines before the title")
        << QByteArray("\n\n  Отмена занятий  \n\n\nЗавтра\n") << true << "Отмена занятий"
        << "Завтра";
    QTest::newRow("emptied") << QByteArray() << false << ""
                             << "";
    QTest::newRow("only blanks") << QByteArray(" \r\n\t\r\n") << false << ""
                                 << "";
}

void TestFleetFiles::noticeText() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, shown);
    QFETCH(QString, title);
    QFETCH(QString, text);
    const Notice n = noticeFromBytes(bytes);
    QCOMPARE(n.shown, shown);
    QCOMPARE(n.title, title);
    QCOMPARE(n.text, text);
    QCOMPARE(n.checksum.isEmpty(), !shown);
}

void TestFleetFiles::noticeChecksumFollowsTheTextNotTheEncoding() {
    const Notice utf8 = noticeFromBytes("Пожар\nВыходите");
    const Notice cp = noticeFromBytes(core::toWindows1251("Пожар\r\nВыходите\r\n"));
    QCOMPARE(utf8.checksum, cp.checksum);
    QCOMPARE(utf8.checksum.size(), 8);
    QVERIFY(noticeFromBytes("Пожар\nВыходите сейчас").checksum != utf8.checksum);
    QVERIFY(noticeFromBytes("Пожар Выходите").checksum != utf8.checksum);
}

void TestFleetFiles::noticeFiles() {
    QTemporaryDir dir;
    const QString path = dir.filePath("notice.txt");
    QVERIFY(!readNotice(path).shown); // no file, no notice

    writeAll(path, QByteArray(kNoticeLimitBytes - 1, 'a') + "\n");
    QCOMPARE(readNotice(path).title.size(), kNoticeLimitBytes - 1); // exactly at the limit

    writeAll(path, QByteArray(kNoticeLimitBytes + 1, 'a'));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("over 65536 bytes"));
    const Notice big = readNotice(path);
    QVERIFY(big.shown);
    QCOMPARE(big.title, QString("notice.txt"));
    QCOMPARE(big.text, QString("не удалось прочитать"));
    QVERIFY(!big.checksum.isEmpty());

    // Something that exists but cannot be read as a file.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(dir.path()).mkdir("notice.txt"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot read the notice"));
    QCOMPARE(readNotice(path), big);
}

void TestFleetFiles::statuses_data() {
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    const int working = int(KioskState::Working);
    const int lost = int(KioskState::Lost);
    const int off = int(KioskState::ScheduledOff);
    QTest::newRow("fresh") << 5 << "main" << working << "работает";
    QTest::newRow("exactly three minutes") << 180 << "video" << working << "работает";
    QTest::newRow("just over three minutes") << 181 << "main" << lost << "нет связи 3 мин";
    QTest::newRow("stopped for four minutes") << 4 * 60 + 30 << "main" << lost << "нет связи 4 мин";
    QTest::newRow("a day") << 24 * 3600 << "main" << lost << "нет связи 1440 мин";
    QTest::newRow("off by the schedule") << 30 << "off" << off << "выключен по расписанию";
    QTest::newRow("off but silent since") << 600 << "off" << lost << "нет связи 10 мин";
    QTest::newRow("clock ahead of ours") << -120 << "main" << working << "работает";
}

void TestFleetFiles::statuses() {
    QFETCH(int, ageSeconds);
    QFETCH(QString, screen);
    QFETCH(int, state);
    QFETCH(QString, text);
    const KioskStatus s = kioskStatus(beatAt("k", kNow.addSecs(-ageSeconds), screen), kNow);
    QCOMPARE(int(s.state), state);
    QCOMPARE(s.text, text);
}

void TestFleetFiles::pageShowsEveryKioskEscaped() {
    Heartbeat hall = beatAt("Холл <1>", kNow.addSecs(-20));
    hall.fileName = "Холл <1>.ini";
    hall.photo = "a&b.jpg";
    Heartbeat gym = beatAt("gym", kNow.addSecs(-300), "video");
    gym.error = "Unable to write to <x>";
    const QString page = QString::fromUtf8(buildFleetPage({hall, gym}, kNow));
    QVERIFY(page.contains("<meta http-equiv=\"refresh\" content=\"60\">"));
    QVERIFY(page.contains("name=\"viewport\""));
    QVERIFY(page.contains("09.12.2026 10:00:00"));
    QVERIFY(!page.contains("<script"));
    QVERIFY(!page.contains("http://") && !page.contains("https://"));
    QCOMPARE(page.count("class=\"card "), 2);
    QVERIFY(page.contains("Холл &lt;1&gt;"));
    QVERIFY(!page.contains("<1>"));
    QVERIFY(page.contains("главный экран: a&amp;b.jpg"));
    QVERIFY(page.contains("src=\"%D0%A5%D0%BE%D0%BB%D0%BB%20%3C1%3E.jpg?20261209095940\""));
    QVERIFY(page.contains("работает"));
    QVERIFY(page.contains("нет связи 5 мин"));
    QVERIFY(page.contains("Unable to write to &lt;x&gt;"));
    QVERIFY(page.indexOf("Холл") < page.indexOf("gym")); // in the order given
}

QTEST_GUILESS_MAIN(TestFleetFiles)
#include "test_fleet_files.moc"
