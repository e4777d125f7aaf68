#include "core/ini_file.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "schedule/bell_editor.h"
#include "schedule/schedule_files.h"
#include "tests/support/test_files.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kalmo;
using namespace kalmo::schedule;
using kalmo::testing::readAll;
using kalmo::testing::writeAll;

namespace {

QStringList column(const BellRows &rows, QString BellRow::*field) {
    QStringList out;
    for (const BellRow &r : rows.rows())
        out << r.*field;
    return out;
}

} // namespace

class TestBellEditor : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_path = m_dir->filePath("kalmora.ini");
        m_messages = core::RecordingMessages();
    }
    void loading_data();
    void loading();
    void saveChecks_data();
    void saveChecks();
    void addThenSaveShowsBothMessages();
    void removeLessonThreeOfEight();
    void emptyListIsStoredAsCountZero();
    void editorsFollowTheSelection();

private:
    BellRows defaultRows() {
        core::IniFile ini(m_path);
        writeDefaultBellTable(ini);
        BellRows rows;
        rows.load(ini, m_messages);
        return rows;
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    core::RecordingMessages m_messages;
};

void TestBellEditor::loading_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("starts");
    QTest::addColumn<QStringList>("breaks");

    QTest::newRow("no bell keys: one row")
        << QByteArray() << QStringList{"9:15:00"} << QStringList{"Окончание занятий"};
    QTest::newRow("start 5 missing: rows 1 to 4")
        << QByteArray("[Raspisanie]\nCount=8\n[RaspisanieStart]\n1=9:00:00\n2=10:00:00\n"
                      "3=11:00:00\n4=12:00:00\n6=14:00:00\n[RaspisanieStop]\n1=9:45:00\n"
                      "2=10:45:30\n3=11:45:00\n4=12:45:00\n")
        << QStringList{"9:00:00", "10:00:00", "11:00:00", "12:00:00"}
        << QStringList{"15", "14", "15", "Окончание занятий"};
}

void TestBellEditor::loading() {
    QFETCH(QByteArray, file);
    if (!file.isEmpty())
        writeAll(m_path, file);
    BellRows rows;
    rows.load(core::IniFile(m_path), m_messages);
    QTEST(column(rows, &BellRow::start), "starts");
    QTEST(column(rows, &BellRow::pause), "breaks");
    if (file.isEmpty())
        QCOMPARE(rows.rows().first().stop, QStringLiteral("10:15:00"));
}

void TestBellEditor::saveChecks_data() {
    QTest::addColumn<int>("row"); // 1-based row to edit
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("message");

    QTest::newRow("reversed range") << 2 << "10:00:00"
                                    << "09:45:00"
                                    << "Не верно задан временной диапазон.\nПроверьте начало и "
                                       "конец . 2 пары.";
    QTest::newRow("overlap with the next lesson")
        << 1 << "09:00:00"
        << "10:05:00"
        << "Не верно задан временной диапазон.\nПроверьте окончение 1 парыи начало . 2 пары.";
    QTest::newRow("hour 25") << 3 << "11:15:00"
                             << "25:00:00"
                             << "Не верное время в строке 3.";
    QTest::newRow("empty editor") << 4 << "  :  :  "
                                  << "13:45:00"
                                  << "Не верное время в строке 4.";
}

void TestBellEditor::saveChecks() {
    QFETCH(int, row);
    BellRows rows = defaultRows();
    const QByteArray before = readAll(m_path);
    QFETCH(QString, start);
    QFETCH(QString, stop);
    rows.rows()[row - 1].start = start;
    rows.rows()[row - 1].stop = stop;
    core::IniFile ini(m_path);
    QVERIFY(!rows.save(ini, m_messages));
    QTEST(m_messages.texts().value(0), "message");
    QCOMPARE(m_messages.texts().size(), 1);
    QCOMPARE(readAll(m_path), before); // nothing written
}

void TestBellEditor::addThenSaveShowsBothMessages() {
    BellRows rows = defaultRows();
    QCOMPARE(column(rows, &BellRow::pause),
             (QStringList{"15", "30", "60", "15", "30", "15", "15", "Окончание занятий"}));
    rows.add();
    QCOMPARE(rows.rows().last(), (BellRow{"9", "00:00:00", "00:00:00", "0"}));
    core::IniFile ini(m_path);
    QVERIFY(!rows.save(ini, m_messages));
    QCOMPARE(m_messages.texts(),
             (QStringList{"Проверьте значения времени в строке 9.",
                          "Не верно задан временной диапазон.\nПроверьте окончение 8 парыи "
                          "начало . 9 пары."}));
    QCOMPARE(ini.readString("Raspisanie", "Count"), QStringLiteral("8"));
}

void TestBellEditor::removeLessonThreeOfEight() {
    BellRows rows = defaultRows();
    core::IniFile ini(m_path);
    QVERIFY(rows.remove(3, ini, m_messages));
    QCOMPARE(ini.readString("Raspisanie", "Count"), QStringLiteral("7"));
    QVERIFY(!ini.valueExists("RaspisanieStart", "3"));
    QVERIFY(!ini.valueExists("RaspisanieStop", "3"));
    QCOMPARE(column(rows, &BellRow::number), (QStringList{"1", "2", "4", "5", "6", "7", "8"}));

    QVERIFY(rows.save(ini, m_messages));
    QVERIFY(m_messages.texts().isEmpty());
    const BellTable stored = readBellTable(ini, 20);
    QCOMPARE(stored.count(), 7);
    QCOMPARE(stored.starts[2], QStringLiteral("13:00:00"));
    QCOMPARE(ini.readString("RaspisanieStart", "8"), QStringLiteral("17:15:00")); // left over
    QCOMPARE(column(rows, &BellRow::pause),
             (QStringList{"15", "135", "15", "30", "15", "15", "Окончание занятий"}));
}

void TestBellEditor::emptyListIsStoredAsCountZero() {
    BellRows rows;
    core::IniFile ini(m_path);
    QVERIFY(rows.save(ini, m_messages));
    QCOMPARE(ini.readString("Raspisanie", "Count"), QStringLiteral("0"));
    QCOMPARE(readBellTable(ini, 20).count(), 0);
}

void TestBellEditor::editorsFollowTheSelection() {
    {
        core::IniFile ini(m_path);
        writeDefaultBellTable(ini);
    }
    BellEditor editor({m_messages});
    editor.load(m_path);
    QCOMPARE(editor.list()->topLevelItemCount(), 8);
    QCOMPARE(editor.startEditor()->text().isEmpty(), false);
    QVERIFY(editor.startEditor()->isEnabled());
    QCOMPARE(editor.lessonLabel()->text(), QStringLiteral("1"));

    editor.selectRow(2);
    QCOMPARE(editor.stopEditor()->displayText(), QStringLiteral("10:45:00"));
    editor.stopEditor()->selectAll();
    QTest::keyClicks(editor.stopEditor(), "104530");
    QCOMPARE(editor.list()->topLevelItem(1)->text(2), QStringLiteral("10:45:30"));
    QVERIFY(editor.saveLessons());
    QCOMPARE(editor.list()->topLevelItem(1)->text(3), QStringLiteral("29"));
    QCOMPARE(core::IniFile(m_path).readString("RaspisanieStop", "2"), QStringLiteral("10:45:30"));

    editor.removeLesson();
    QVERIFY(!editor.startEditor()->isEnabled());
    QVERIFY(!editor.removeButton()->isEnabled());
    QCOMPARE(editor.list()->topLevelItemCount(), 7);
    editor.release();
    QCOMPARE(editor.list()->topLevelItemCount(), 0);
}

QTEST_MAIN(TestBellEditor)
#include "test_bell_editor.moc"
