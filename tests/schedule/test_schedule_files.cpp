#include "core/ini_file.h"
#include "schedule/schedule_files.h"
#include "tests/support/test_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using namespace kalmo::schedule;
using kalmo::testing::readAll;
using kalmo::testing::writeAll;

class TestScheduleFiles : public QObject {
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void firstStartFileReadsAsOneDepartmentOfEightGroups();
    void countsAndMissingKeys_data();
    void countsAndMissingKeys();
    void missingBellTableReadsTheScreenDefaults();
    void bellTableReadsUpToTheLimit();
    void saveDepartmentReplacesTheSection();
    void departmentWithoutRowsKeepsItsName();
    void rowAndDepartmentRemoval();
    void bellTableWriters();
    void refusedWriteLeavesTheFileAsItWas();

private:
    QString path(const char *name) const { return m_dir->filePath(QLatin1String(name)); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestScheduleFiles::firstStartFileReadsAsOneDepartmentOfEightGroups() {
    const QString file = path("raspisanie.ini");
    QVERIFY(scheduleFirstStart(file));
    QVERIFY(!scheduleFirstStart(file)); // once only

    const core::IniFile ini(file, core::IniFile::Mode::Snapshot);
    QCOMPARE(readDepartmentCount(ini), 1);
    QCOMPARE(readDepartmentName(ini, 1), QStringLiteral("Раздел1"));
    QCOMPARE(readGroupCount(ini, 1, 1), 8);
    const QList<Group> groups = readGroups(ini, 1, 8);
    for (int k = 1; k <= 8; ++k)
        QCOMPARE(groups[k - 1], (Group{QStringLiteral("Группа%1").arg(k), "Нет файла"}));
}

void TestScheduleFiles::countsAndMissingKeys_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("departments");
    QTest::addColumn<int>("groupsForButtons");
    QTest::addColumn<int>("groupsForOpening");

    QTest::newRow("missing file") << QByteArray() << 1 << 1 << 0;
    QTest::newRow("countrazdel 0")
        << QByteArray("[ini]\ncountrazdel=0\n[1]\nCountgroup=2\n") << 1 << 2 << 2;
    QTest::newRow("negative counts")
        << QByteArray("[ini]\ncountrazdel=-3\n[1]\ncountgroup=-1\n") << 1 << 0 << 0;
    QTest::newRow("not a number") << QByteArray("[INI]\nCOUNTRAZDEL=два\n[1]\nCountgroup=x\n") << 1
                                  << 1 << 0;
    QTest::newRow("three departments") << QByteArray("[ini]\ncountrazdel=3\n") << 3 << 1 << 0;
}

void TestScheduleFiles::countsAndMissingKeys() {
    QFETCH(QByteArray, content);
    const QString file = path("raspisanie.ini");
    if (!content.isEmpty())
        writeAll(file, content);
    const core::IniFile ini(file, core::IniFile::Mode::Snapshot);
    QTEST(readDepartmentCount(ini), "departments");
    QTEST(readGroupCount(ini, 1, 1), "groupsForButtons");
    QTEST(readGroupCount(ini, 1, 0), "groupsForOpening");
}

void TestScheduleFiles::missingBellTableReadsTheScreenDefaults() {
    const core::IniFile ini(path("kalmora.ini"), core::IniFile::Mode::Snapshot);
    const BellTable table = readBellTable(ini, 20);
    QCOMPARE(table.count(), 8);
    QCOMPARE(table.starts.first(), QStringLiteral("9:15:00"));
    QCOMPARE(table.stops.first(), QStringLiteral("10:00:00"));
    QCOMPARE(table.starts.last(), QStringLiteral("16:15:00"));
    QCOMPARE(table.stops.last(), QStringLiteral("17:00:00"));

    // The first-start table reads back as written; the screen asks for "count".
    core::IniFile settings(path("kalmora.ini"));
    writeDefaultBellTable(settings);
    const BellTable stored = readBellTable(settings, 20);
    QCOMPARE(stored.starts, (QStringList{"9:00:00", "10:00:00", "11:15:00", "13:00:00", "14:00:00",
                                         "15:15:00", "16:15:00", "17:15:00"}));
    QCOMPARE(stored.stops.last(), QStringLiteral("18:00:00"));
}

void TestScheduleFiles::bellTableReadsUpToTheLimit() {
    writeAll(path("kalmora.ini"), "[Raspisanie]\nCount=25\n[RaspisanieStart]\n1=08:00:00\n"
                                  "[RaspisanieStop]\n1=\n");
    const core::IniFile ini(path("kalmora.ini"));
    QCOMPARE(readLessonCount(ini), 25);
    const BellTable table = readBellTable(ini, 20);
    QCOMPARE(table.count(), 20);
    QCOMPARE(table.starts[0], QStringLiteral("08:00:00"));
    QCOMPARE(table.stops[0], QString());                    // stored empty stays empty
    QCOMPARE(table.starts[19], QStringLiteral("28:15:00")); // k + 8, as the defaults say

    writeAll(path("kalmora.ini"), "[Raspisanie]\nCount=0\n");
    QCOMPARE(readBellTable(core::IniFile(path("kalmora.ini")), 20).count(), 0);
}

void TestScheduleFiles::saveDepartmentReplacesTheSection() {
    const QString file = path("raspisanie.ini");
    writeAll(file, "[ini]\nfile=1\ncountrazdel=1\n[1]\nRazdel=Old\nCountgroup=3\ngroup1=a\n"
                   "dir1=x\ngroup2=b\ndir2=y\ngroup3=c\ndir3=z\n");
    core::IniFile ini(file);
    saveDepartment(ini, 1, 2, QStringLiteral("Новый"), {{"А-1", "/d/a.pdf"}, {"Б-2", "/d/b.html"}});
    const core::IniFile back(file, core::IniFile::Mode::Snapshot);
    QCOMPARE(back.readString("ini", "countrazdel"), QStringLiteral("2"));
    QCOMPARE(back.readString("ini", "file"), QStringLiteral("1"));
    QCOMPARE(readDepartmentName(back, 1), QStringLiteral("Новый"));
    QCOMPARE(readGroupCount(back, 1, 0), 2);
    QCOMPARE(readGroups(back, 1, 2), (QList<Group>{{"А-1", "/d/a.pdf"}, {"Б-2", "/d/b.html"}}));
    // Stale rows are gone with the old section.
    QVERIFY(!back.valueExists("1", "Group3"));
    QVERIFY(!back.valueExists("1", "Dir3"));
}

void TestScheduleFiles::departmentWithoutRowsKeepsItsName() {
    core::IniFile ini(path("raspisanie.ini"));
    saveDepartment(ini, 2, 2, QStringLiteral("Пустой"), {});
    QCOMPARE(readDepartmentName(ini, 2), QStringLiteral("Пустой"));
    QVERIFY(ini.valueExists("2", "countgroup"));
    QCOMPARE(readGroupCount(ini, 2, 1), 0);
}

void TestScheduleFiles::rowAndDepartmentRemoval() {
    const QString file = path("raspisanie.ini");
    writeAll(file, "[ini]\ncountrazdel=2\n[1]\nRazdel=A\nCountgroup=3\nGroup1=a\nDir1=x\n"
                   "Group2=b\nDir2=y\nGroup3=c\nDir3=z\n[2]\nRazdel=B\n");
    core::IniFile ini(file);
    eraseDepartment(ini, 1, 1);
    QVERIFY(!ini.sectionExists("1"));
    QCOMPARE(ini.readString("ini", "countrazdel"), QStringLiteral("1"));
    QCOMPARE(readDepartmentName(ini, 2), QStringLiteral("B"));
}

void TestScheduleFiles::bellTableWriters() {
    core::IniFile ini(path("kalmora.ini"));
    writeDefaultBellTable(ini);
    saveBellTable(ini, {{"08:30:00", "09:30:00"}, {"09:15:00", "10:15:00"}});
    QCOMPARE(readBellTable(ini, 20),
             (BellTable{{"08:30:00", "09:30:00"}, {"09:15:00", "10:15:00"}}));
    // Keys beyond the new count stay; the count hides them.
    QCOMPARE(ini.readString("RaspisanieStop", "8"), QStringLiteral("18:00:00"));

    saveBellTable(ini, {});
    QCOMPARE(ini.readString("Raspisanie", "Count"), QStringLiteral("0"));
    QCOMPARE(readBellTable(ini, 20).count(), 0);
}

void TestScheduleFiles::refusedWriteLeavesTheFileAsItWas() {
    // A file whose folder does not exist cannot be replaced.
    core::IniFile ini(path("missing/raspisanie.ini"));
    try {
        saveDepartment(ini, 1, 1, "A", {{"a", "x"}});
        QFAIL("the write was not refused");
    } catch (const core::IniWriteError &e) {
        QCOMPARE(e.text(), "Unable to write to " + path("missing/raspisanie.ini"));
    }
    QVERIFY(!QFile::exists(path("missing/raspisanie.ini")));
}

QTEST_APPLESS_MAIN(TestScheduleFiles)
#include "test_schedule_files.moc"
