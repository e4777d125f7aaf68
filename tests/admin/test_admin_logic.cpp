#include "admin/city_table.h"
#include "admin/dialog_files.h"
#include "admin/general_settings.h"
#include "admin/password_change.h"
#include "admin/running_text_check.h"
#include "core/ini_file.h"
#include "core/strict_int.h"

#include "tests/support/test_files.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using kalmo::testing::readAll;
using kalmo::testing::writeAll;

class TestAdminLogic : public QObject {
    Q_OBJECT
private slots:
    void cityTableKeepsListOrder();
    void passwordChange_data();
    void passwordChange();
    void passwordKeptWhenPointerFileCannotBeWritten();
    void fontStyleText_data();
    void fontStyleText();
    void saveWritesKeysInOrder();
    void showingAndClosingUseTheirOwnDefaults();
    void onlyTheWordTrueTicksAStyleBox();
    void badTimeValueStopsTheRefresh();
    void saveRefreshDefersFontSizesAndStep();
    void settingsPathWarning_data();
    void settingsPathWarning();
    void runningTextCount_data();
    void runningTextCount();
};

void TestAdminLogic::cityTableKeepsListOrder() {
    const QList<admin::City> &t = admin::cityTable();
    QCOMPARE(t.size(), 89);
    QCOMPARE(t.first().name, QStringLiteral("Москва"));
    QCOMPARE(t[1].name, QStringLiteral("С-Петербург"));
    QCOMPARE(t.last().name, QStringLiteral("Ярославль"));
    QCOMPARE(admin::cityIndexOfCode("27331"), 88);
    QCOMPARE(admin::cityIndexOfCode("27611"), 0);
    QCOMPARE(admin::cityIndexOfCode("12345"), -1);
    QSet<QString> codes;
    for (const admin::City &c : t)
        codes.insert(c.code);
    QCOMPARE(codes.size(), 89);
}

void TestAdminLogic::passwordChange_data() {
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("next");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("inForce");
    using admin::PasswordChange;
    QTest::newRow("current empty") << ""
                                   << "new1" << int(PasswordChange::Unchanged) << "3049";
    QTest::newRow("new empty") << "3049"
                               << "" << int(PasswordChange::Unchanged) << "3049";
    QTest::newRow("wrong current") << "3050"
                                   << "new1" << int(PasswordChange::WrongCurrent) << "3049";
    QTest::newRow("case matters") << "3049 "
                                  << "new1" << int(PasswordChange::WrongCurrent) << "3049";
    QTest::newRow("right") << "3049"
                           << "Новый 1" << int(PasswordChange::Changed) << "Новый 1";
}

void TestAdminLogic::passwordChange() {
    QFETCH(QString, current);
    QFETCH(QString, next);
    QFETCH(int, result);
    QFETCH(QString, inForce);
    QTemporaryDir dir;
    const QString pointer = dir.filePath("filesetting.ini");
    writeAll(pointer, "[file]\nfiledir=/x/kalmora.ini\n");
    const QByteArray before = readAll(pointer);
    core::ProgramValues values;
    QCOMPARE(int(admin::changePassword(values, pointer, current, next)), result);
    QCOMPARE(values.password, inForce);
    if (result == int(admin::PasswordChange::Changed)) {
        QCOMPARE(core::IniFile(pointer).readString("passwd", "passwd"), next);
        QCOMPARE(core::IniFile(pointer).readString("file", "filedir"), QString("/x/kalmora.ini"));
    } else {
        QCOMPARE(readAll(pointer), before);
    }
}

void TestAdminLogic::passwordKeptWhenPointerFileCannotBeWritten() {
    QTemporaryDir dir;
    const QString pointer = dir.filePath("filesetting.ini");
    QVERIFY(QDir(dir.path()).mkdir("filesetting.ini")); // a folder where the file should be
    core::ProgramValues values;
    try {
        admin::changePassword(values, pointer, "3049", "new1");
        QFAIL("the write should have been refused");
    } catch (const core::IniWriteError &e) {
        QCOMPARE(e.text(), "Unable to write to " + pointer);
    }
    QCOMPARE(values.password, QString("3049"));
}

void TestAdminLogic::fontStyleText_data() {
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << false << false << false << "[]";
    QTest::newRow("bold, underline") << true << false << true << "[fsBold,fsUnderline]";
    QTest::newRow("all") << true << true << true << "[fsBold,fsItalic,fsUnderline]";
    QTest::newRow("italic") << false << true << false << "[fsItalic]";
}

void TestAdminLogic::fontStyleText() {
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    admin::GeneralSettings s;
    s.bold = bold;
    s.italic = italic;
    s.underline = underline;
    QTEST(s.fontStyleText(), "text");
}

void TestAdminLogic::saveWritesKeysInOrder() {
    QTemporaryDir dir;
    core::IniFile ini(dir.filePath("kalmora.ini"));
    admin::GeneralSettings s;
    s.site = "http://s/";
    s.buttonSite = "A";
    s.buttonCalendar = "B";
    s.buttonPhoto = "C";
    s.buttonSchedule = "D";
    s.buttonVideo = "E";
    s.slideInterval = "5x"; // written as typed: nothing is checked before writing
    s.pageTimeout = "20";
    s.rereadInterval = "30";
    s.photoFolder = "/p/";
    s.videoFolder = "/v/";
    s.textFile = "/t.txt";
    s.textStep = "2";
    s.theme = "Light";
    s.fontName = "Arial";
    s.fontSize = "12";
    s.siteFontSize = "14";
    s.bold = true;
    s.weather = false;
    s.scheduleView = true;
    s.cityCode = "12345";
    s.powerOn = "7:30";
    s.powerOff = "18:30";
    s.powerDays = "12345";
    admin::writeGeneral(ini, s);
    // Sections and keys in the order written (blank lines between sections aside); "Font"
    // is the same section as "font".
    QString written = QString::fromUtf8(readAll(ini.path()));
    written.replace("\r\n", "\n").replace("\n\n", "\n");
    QCOMPARE(written,
             QString("[time]\nimage=5x\nreadsetting=30\npage=20\n"
                     "[dir]\nDirimage=/p/\nDirvideo=/v/\n"
                     "[file]\nScrollingText=/t.txt\nspeedScrollingText=2\n"
                     "[style]\nstyletest=Light\n"
                     "[font]\nstyle=Arial\nsize=12\nsizesite=14\nStyleFont=[fsBold]\n"
                     "[Name]\nButtonSite=A\nButtonCalendar=B\nButtonPhoto=C\nButtonSchedule=D\n"
                     "ButtonVideo=E\n"
                     "[weather]\nsity=12345\nread=0\n"
                     "[site]\nsite=http://s/\n"
                     "[Check]\nfsBold=true\nfsItalic=false\nfsUnderline=false\n"
                     "[power]\non=7:30\noff=18:30\ndays=12345\n"
                     "[Schedule]\nView=1\n"));
}

void TestAdminLogic::showingAndClosingUseTheirOwnDefaults() {
    QTemporaryDir dir;
    const core::IniFile empty(dir.filePath("none.ini"));
    admin::GeneralSettings shown;
    shown.weather = false;
    admin::readGeneralForShowing(empty, shown);
    QCOMPARE(shown.site, QStringLiteral("Сайт"));
    QCOMPARE(shown.rereadInterval, QString("30"));
    QCOMPARE(shown.buttonCalendar, QStringLiteral("Календарь событий"));
    QCOMPARE(shown.photoFolder, QStringLiteral("Папка с фото"));
    for (const QString &v : {shown.theme, shown.fontName, shown.fontSize, shown.siteFontSize})
        QCOMPARE(v, QStringLiteral("Ошибка при чтении!"));
    QVERIFY(shown.weather);
    QVERIFY(shown.scheduleView);

    admin::GeneralSettings closed;
    closed.weather = false;
    closed.scheduleView = false;
    closed.cityCode = "123";
    admin::readGeneralForClosing(empty, closed);
    QCOMPARE(closed.site, admin::kResetSiteAddress);
    QCOMPARE(closed.rereadInterval, QString("20"));
    QCOMPARE(closed.buttonSite, QStringLiteral("САЙТ"));
    // The flags and the city are not the reset's business.
    QVERIFY(!closed.weather);
    QVERIFY(!closed.scheduleView);
    QCOMPARE(closed.cityCode, QString("123"));
}

void TestAdminLogic::onlyTheWordTrueTicksAStyleBox() {
    QTemporaryDir dir;
    writeAll(dir.filePath("k.ini"), "[check]\nfsbold=true\nfsItalic=1\nfsUnderline=TRUE\n");
    admin::GeneralSettings s;
    admin::readGeneralForShowing(core::IniFile(dir.filePath("k.ini")), s);
    QVERIFY(s.bold);
    QVERIFY(!s.italic);
    QVERIFY(!s.underline);
}

void TestAdminLogic::badTimeValueStopsTheRefresh() {
    QTemporaryDir dir;
    writeAll(dir.filePath("k.ini"), "[time]\nimage=7\nvideo=3\npage=5x\nreadsetting=2\n"
                                    "[Name]\nButtonSite=X\n");
    core::ProgramValues v;
    try {
        admin::refreshValuesForShowing(core::IniFile(dir.filePath("k.ini")), v);
        QFAIL("5x is not a number");
    } catch (const core::ConversionError &e) {
        QCOMPARE(e.text(), QString("'5x' is not a valid integer value"));
    }
    QCOMPARE(v.slideshowMs, 7000); // read before the bad value
    QCOMPARE(v.rereadMs, 30 * 60000);
    QCOMPARE(v.buttonSite, QStringLiteral("САЙТ"));

    writeAll(dir.filePath("k.ini"), "[time]\npage=5\n[font]\nsize=big\n");
    v.fontSize = 18;
    admin::refreshValuesForShowing(core::IniFile(dir.filePath("k.ini")), v);
    QCOMPARE(v.pageSeconds, 5);
    QCOMPARE(v.rereadMs, 30 * 60000);
    QCOMPARE(v.fontSize, 18); // not a number: the size in force stays
    QCOMPARE(v.siteFontSize, 8);
    QCOMPARE(v.fontName, QStringLiteral("Шрифт"));
    QCOMPARE(v.site, QStringLiteral("Адрес сайта"));
}

void TestAdminLogic::saveRefreshDefersFontSizesAndStep() {
    QTemporaryDir dir;
    writeAll(dir.filePath("k.ini"), "[file]\nspeedScrollingText=x\n[Font]\nStyleFont=[fsItalic]\n"
                                    "[weather]\nread=0\n[time]\nreadsetting=2\n");
    core::ProgramValues v;
    const admin::DeferredNumbers later =
        admin::refreshValuesForSave(core::IniFile(dir.filePath("k.ini")), v);
    QCOMPARE(later.textStep, QString("x"));
    QCOMPARE(later.fontSize, QString("8"));
    QCOMPARE(later.siteFontSize, QString("8"));
    QCOMPARE(v.rereadMs, 120000);
    QCOMPARE(v.fontStyleText, QString("[fsItalic]"));
    QCOMPARE(v.checkBold, QString("false"));
    QCOMPARE(v.site, QStringLiteral("Сайт"));
    QCOMPARE(v.photoFolder, QStringLiteral("Папка с фото"));
    QCOMPARE(v.cityCode, QString("27611"));
    QVERIFY(!v.weather);
}

void TestAdminLogic::settingsPathWarning_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("warn");
    QTest::newRow("a folder") << "folder" << true;
    QTest::newRow("a file") << "kalmora.ini" << false;
    QTest::newRow("not created yet") << "new.ini" << false;
    QTest::newRow("folder missing") << "nowhere/kalmora.ini" << false;
    QTest::newRow("under a file") << "kalmora.ini/x.ini" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("link loop") << "loop/x.ini" << true;
}

void TestAdminLogic::settingsPathWarning() {
    QFETCH(QString, path);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("folder");
    writeAll(dir.filePath("kalmora.ini"), "[ini]\nfile=1\n");
    QFile::link(dir.filePath("loop"), dir.filePath("loop"));
    QTEST(admin::settingsPathUnreachable(path.isEmpty() ? path : dir.filePath(path)), "warn");
}

void TestAdminLogic::runningTextCount_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("tooLong");
    QTest::newRow("1489") << QByteArray(1489, 'a') << 1489 << false;
    QTest::newRow("1490") << QByteArray(1490, 'a') << 1490 << true;
    QTest::newRow("two lines of 10") << QByteArray("0123456789\r\n0123456789\r\n") << 20 << false;
    QTest::newRow("Cyrillic in UTF-8") << QStringLiteral("Привет\nмир").toUtf8() << 9 << false;
}

void TestAdminLogic::runningTextCount() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, length);
    QFETCH(bool, tooLong);
    QTemporaryDir dir;
    writeAll(dir.filePath("text.txt"), bytes);
    const auto count = admin::countRunningText(dir.filePath("text.txt"));
    QVERIFY(count);
    QCOMPARE(count->length, length);
    QCOMPARE(count->tooLong(), tooLong);
    QCOMPARE(count->label(), QString::number(length) + QStringLiteral(" символов"));

    QString error;
    QVERIFY(!admin::countRunningText(dir.filePath("missing.txt"), &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestAdminLogic)
#include "test_admin_logic.moc"
