#include "../support/test_files.h"
#include "calendar/calendar_file.h"
#include "calendar/tile_look.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using namespace kalmo::calendar;

namespace {
QString fixture(const QString &name) {
    return QStringLiteral(KALMO_TEST_DATA "/calendar/") + name;
}
} // namespace

class TestCalendarFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void valueFormsRoundTrip();
    void missingKeysAndBadNumbersGiveDefaults();
    void handEditedFileWithIniNotFirst();
    void badColourGivesDefaultAndOneLogLine();
    void editorsSeeAtMost2047Characters();
    void deleteKeyAndEraseSection();
    void eventTextForm_data();
    void eventTextForm();
    void seedingWritesTheFirstStartFile();
    void seedingSkippedWhenMarked();
    void seedingOverwritesAnUnmarkedFile();
    void refusedSeedingIsReportedOnce();
    void firstStartCopiesMissingPictures();
    void screenDataFolderTakesBaseWhenPathIsAFolder();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
};

void TestCalendarFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_base = m_dir->path() + u'/';
}

void TestCalendarFile::valueFormsRoundTrip() {
    const QString path = m_base + QStringLiteral("dateini.ini");
    {
        CalendarFile f(path);
        f.writeString(QStringLiteral("5.1.2026"), QStringLiteral("event"), QStringLiteral("Ёлка"));
        f.writeInteger(QStringLiteral("5.1.2026"), QStringLiteral("eventday"), 2);
        f.writeBool(QStringLiteral("ini"), QStringLiteral("Saturday"), true);
        f.writeBool(QStringLiteral("ini"), QStringLiteral("Sunday"), false);
        f.writeColor(QStringLiteral("ini"), QStringLiteral("output"), 0x0000FF);
        f.writeColor(QStringLiteral("ini"), QStringLiteral("event"), 0x123456);
    }
    QCOMPARE(QString::fromUtf8(testing::readAll(path)),
             QStringLiteral("[5.1.2026]\r\nevent=Ёлка\r\neventday=2\r\n\r\n[ini]\r\n"
                            "Saturday=1\r\nSunday=0\r\noutput=clRed\r\nevent=$00123456\r\n"));
    const CalendarFile snap(path, CalendarFile::Mode::Snapshot);
    QCOMPARE(snap.sections(), QStringList({"5.1.2026", "ini"}));
    QCOMPARE(snap.readString(QStringLiteral("5.1.2026"), QStringLiteral("EVENT")), "Ёлка");
    QCOMPARE(snap.readInteger(QStringLiteral("5.1.2026"), QStringLiteral("eventday"), 1), 2);
    QCOMPARE(snap.readBool(QStringLiteral("INI"), QStringLiteral("saturday"), false), true);
    QCOMPARE(snap.readBool(QStringLiteral("ini"), QStringLiteral("sunday"), true), false);
    QCOMPARE(snap.readColor(QStringLiteral("ini"), QStringLiteral("event"), 0), 0x123456);
}

void TestCalendarFile::missingKeysAndBadNumbersGiveDefaults() {
    const QString path = m_base + QStringLiteral("dateini.ini");
    testing::writeAll(path, "[ini]\nfontsize=big\nSunday=yes\n");
    const CalendarFile f(path);
    QCOMPARE(f.readInteger(QStringLiteral("ini"), QStringLiteral("fontsize"), 14), 14);
    QCOMPARE(f.readBool(QStringLiteral("ini"), QStringLiteral("Sunday"), true), true);
    QCOMPARE(f.readString(QStringLiteral("1.1.2026"), QStringLiteral("event"), "x"), "x");
    QCOMPARE(f.readColor(QStringLiteral("ini"), QStringLiteral("holiday"), 0xFF0000), 0xFF0000);
    const CalendarFile none(m_base + QStringLiteral("absent.ini"), CalendarFile::Mode::Snapshot);
    QVERIFY(none.sections().isEmpty());
    QVERIFY(!QFileInfo::exists(m_base + QStringLiteral("absent.ini")));
}

void TestCalendarFile::handEditedFileWithIniNotFirst() {
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Not a colour")));
    const CalendarFile f(fixture(QStringLiteral("hand-edited.ini")), CalendarFile::Mode::Snapshot);
    QCOMPARE(f.sections(), QStringList({"14.2.2026", "INI", "1.3.2026"}));
    Marking m;
    m.read(f);
    QCOMPARE(m.saturday, true);
    QCOMPARE(m.sunday, false);
    QCOMPARE(m.dayOff, 0x123456);
    QCOMPARE(m.holiday, 0x00FFFF); // clYellow
    QCOMPARE(m.event, Marking().event);
    QCOMPARE(f.readInteger(QStringLiteral("14.2.2026"), QStringLiteral("eventday"), 1), 2);
}

void TestCalendarFile::badColourGivesDefaultAndOneLogLine() {
    const QString path = m_base + QStringLiteral("dateini.ini");
    testing::writeAll(path, "[ini]\nHoverColor=aquamarine\n");
    const CalendarFile f(path, CalendarFile::Mode::Snapshot);
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("Not a colour.*HoverColor.*aquamarine")));
    TileLook look;
    look.read(f); // the other six keys are missing: no further lines
    QCOMPARE(look.hover, TileLook().hover);
    QCOMPARE(look.fontSize, 14);
    QCOMPARE(look.fontName, QStringLiteral("Times New Roman"));
}

void TestCalendarFile::editorsSeeAtMost2047Characters() {
    const QString path = m_base + QStringLiteral("dateini.ini");
    const QString longText(5000, u'ж');
    CalendarFile(path).writeString(QStringLiteral("1.1.2026"), QStringLiteral("event"), longText);
    const CalendarFile editor(path, CalendarFile::Mode::Live, CalendarFile::kEditorValueLimit);
    QCOMPARE(editor.readString(QStringLiteral("1.1.2026"), QStringLiteral("event")).size(), 2047);
    const CalendarFile screen(path, CalendarFile::Mode::Snapshot);
    QCOMPARE(screen.readString(QStringLiteral("1.1.2026"), QStringLiteral("event")), longText);
}

void TestCalendarFile::deleteKeyAndEraseSection() {
    const QString path = m_base + QStringLiteral("dateini.ini");
    testing::writeAll(path, "[1.1.2026]\neventday=3\nevent=a\n[2.1.2026]\neventday=1\n");
    CalendarFile f(path);
    f.deleteKey(QStringLiteral("1.1.2026"), QStringLiteral("EVENT"));
    QVERIFY(!f.valueExists(QStringLiteral("1.1.2026"), QStringLiteral("event")));
    QCOMPARE(f.readInteger(QStringLiteral("1.1.2026"), QStringLiteral("eventday"), 0), 3);
    f.eraseSection(QStringLiteral("2.1.2026"));
    QCOMPARE(CalendarFile(path).sections(), QStringList({"1.1.2026"}));
}

void TestCalendarFile::eventTextForm_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("three lines run together")
        << "Первая\r\nвторая\r\nтретья"
        << R"(<body> <p align="center"> Перваявтораятретья</p> </body>)"
        << "Перваявтораятретья";
    QTest::newRow("text box line feeds") << "a\nb"
                                         << R"(<body> <p align="center"> ab</p> </body>)"
                                         << "ab";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("markup-like text stays text")
        << "1 < 2 & 3"
        << R"(<body> <p align="center"> 1 < 2 & 3</p> </body>)"
        << "1 < 2 & 3";
}

void TestCalendarFile::eventTextForm() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(calendar::eventTextForm(typed), stored);
    if (!stored.isEmpty() && !typed.contains(u'<'))
        QCOMPARE(eventPlainText(stored), shown);
    QCOMPARE(eventPlainText(R"(<body> <p align="center"> 8 Марта </p> </body>)"), "8 Марта");
    QCOMPARE(eventPlainText("Здесь должен быть Ваш текст"), "Здесь должен быть Ваш текст");
}

void TestCalendarFile::seedingWritesTheFirstStartFile() {
    const QString path = m_base + QStringLiteral("dateini.ini");
    QVERIFY(seedCalendarFile(path, m_base));
    QByteArray expected = testing::readAll(fixture(QStringLiteral("seeded.ini")));
    expected.replace("@BASE@", m_base.toUtf8());
    expected.replace("\n", "\r\n");
    QCOMPARE(QString::fromUtf8(testing::readAll(path)), QString::fromUtf8(expected));
}

void TestCalendarFile::seedingSkippedWhenMarked() {
    const QString path = m_base + QStringLiteral("dateini.ini");
    const QByteArray own = "[1.1.2030]\neventday=1\n[ini]\nfile=1\nfontsize=30\n";
    testing::writeAll(path, own);
    QVERIFY(!seedCalendarFile(path, m_base));
    QCOMPARE(testing::readAll(path), own);
}

void TestCalendarFile::seedingOverwritesAnUnmarkedFile() {
    const QString path = m_base + QStringLiteral("dateini.ini");
    testing::writeAll(path, "[8.3.2017]\neventday=1\nevent=mine\n[ini]\nfile=0\nfontsize=30\n");
    QVERIFY(seedCalendarFile(path, m_base));
    const CalendarFile f(path);
    QCOMPARE(f.sections(), QStringList({"8.3.2017", "ini", "31.12.2017", "23.2.2017", "9.5.2017"}));
    QCOMPARE(f.readInteger(QStringLiteral("ini"), QStringLiteral("fontsize"), 0), 14);
    QCOMPARE(f.readInteger(QStringLiteral("8.3.2017"), QStringLiteral("eventday"), 0), 3);
    QCOMPARE(eventPlainText(f.readString(QStringLiteral("8.3.2017"), QStringLiteral("event"))),
             QStringLiteral("8 Марта"));
}

void TestCalendarFile::refusedSeedingIsReportedOnce() {
    core::ProgramValues values;
    values.baseFolder = m_base;
    values.mainSettingsPath = m_base + QStringLiteral("no such folder/kalmora.ini");
    QStringList reports;
    calendarFirstStart(values, [&](const QString &text) { reports << text; });
    QCOMPARE(reports, QStringList({QStringLiteral("Unable to write to ") + m_base +
                                   QStringLiteral("no such folder/dateini.ini")}));
}

void TestCalendarFile::firstStartCopiesMissingPictures() {
    QTemporaryDir shipped;
    QDir().mkpath(shipped.path() + QStringLiteral("/image"));
    for (const QString &name : shippedPictureNames())
        testing::writeAll(shipped.path() + QStringLiteral("/image/") + name, name.toUtf8());
    QDir().mkpath(m_base + QStringLiteral("image"));
    testing::writeAll(m_base + QStringLiteral("image/9 мая.jpg"), "administrator's own");

    core::ProgramValues values;
    values.baseFolder = m_base;
    values.programDataFolder = shipped.path() + u'/';
    values.mainSettingsPath = m_base + QStringLiteral("kalmora.ini");
    QStringList reports;
    calendarFirstStart(values, [&](const QString &text) { reports << text; });
    QVERIFY(reports.isEmpty());
    for (const QString &name : shippedPictureNames())
        QVERIFY2(QFileInfo::exists(m_base + QStringLiteral("image/") + name), qPrintable(name));
    QCOMPARE(testing::readAll(m_base + QStringLiteral("image/9 мая.jpg")), "administrator's own");
    const CalendarFile f(m_base + QStringLiteral("dateini.ini"));
    QCOMPARE(f.readString(QStringLiteral("31.12.2017"), QStringLiteral("image")),
             m_base + QStringLiteral("image/Новый год.jpg"));
}

void TestCalendarFile::screenDataFolderTakesBaseWhenPathIsAFolder() {
    core::ProgramValues values;
    values.baseFolder = m_base;
    QDir().mkpath(m_base + QStringLiteral("shared/kalmora.ini"));
    values.mainSettingsPath = m_base + QStringLiteral("shared/kalmora.ini");
    QCOMPARE(screenDataFolder(values), m_base);
    QCOMPARE(pageDataFolder(values), m_base + QStringLiteral("shared/"));
    values.mainSettingsPath = m_base + QStringLiteral("other/kalmora.ini");
    QCOMPARE(screenDataFolder(values), m_base + QStringLiteral("other/"));
}

QTEST_MAIN(TestCalendarFile)
#include "test_calendar_file.moc"
