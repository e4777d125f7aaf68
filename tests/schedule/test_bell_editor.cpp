#include "core/ini_file.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "schedule/bell_editor.h"
#include "schedule/bell_time.h"
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
    void removedLessonLeavesNoHole();
    void listNotLoadedWholeIsNotSaved_data();
    void listNotLoadedWholeIsNotSaved();
    void emptiedListIsStoredAsCountZero();
    void timeEntry_data();
    void timeEntry();
    void editorsFollowTheSelection();
    void storedTimesRoundTrip();

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
    // A longer table saved earlier leaves its keys; lesson N still ends the day.
    QTest::newRow("keys beyond the count")
        << QByteArray("[Raspisanie]\nCount=2\n[RaspisanieStart]\n1=9:00:00\n2=10:00:00\n"
                      "3=11:00:00\n[RaspisanieStop]\n1=9:45:00\n2=10:45:00\n3=11:45:00\n")
        << QStringList{"9:00:00", "10:00:00"} << QStringList{"15", "Окончание занятий"};
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

void TestBellEditor::removedLessonLeavesNoHole() {
    BellRows rows = defaultRows();
    const QByteArray before = readAll(m_path);
    QVERIFY(rows.remove(5));
    // Until the save the file keeps every lesson: a reader never meets an invented lesson 5.
    QCOMPARE(readAll(m_path), before);
    QCOMPARE(column(rows, &BellRow::number), (QStringList{"1", "2", "3", "4", "6", "7", "8"}));

    core::IniFile ini(m_path);
    QVERIFY(rows.save(ini, m_messages));
    QVERIFY(m_messages.texts().isEmpty());
    QCOMPARE(readBellTable(ini, 20), (BellTable{{"9:00:00", "10:00:00", "11:15:00", "13:00:00",
                                                 "15:15:00", "16:15:00", "17:15:00"},
                                                {"9:45:00", "10:45:00", "12:00:00", "13:45:00",
                                                 "16:00:00", "17:00:00", "18:00:00"}}));
    QCOMPARE(column(rows, &BellRow::pause),
             (QStringList{"15", "30", "60", "90", "15", "15", "Окончание занятий"}));
    // Loaded again, the last lesson still ends the day.
    rows.load(ini, m_messages);
    QCOMPARE(rows.count(), 7);
    QCOMPARE(rows.rows().last().pause, BellRows::kLastBreak);
}

void TestBellEditor::listNotLoadedWholeIsNotSaved_data() {
    QTest::addColumn<QByteArray>("file"); // empty: the list was never loaded
    QTest::addColumn<QStringList>("loadMessages");

    QTest::newRow("never loaded") << QByteArray() << QStringList();
    QTest::newRow("stopped at a bad end time")
        << QByteArray("[Raspisanie]\nCount=3\n[RaspisanieStart]\n1=9:00:00\n2=10:00:00\n"
                      "3=11:00:00\n[RaspisanieStop]\n1=9:45:00\n2=10:4x:00\n3=11:45:00\n")
        << QStringList{"'10:4x:00' is not a valid time"};
}

void TestBellEditor::listNotLoadedWholeIsNotSaved() {
    QFETCH(QByteArray, file);
    BellRows rows;
    if (!file.isEmpty()) {
        writeAll(m_path, file);
        rows.load(core::IniFile(m_path), m_messages);
        QCOMPARE(rows.count(), 1);
    }
    QTEST(m_messages.texts(), "loadMessages");
    QVERIFY(!rows.isLoaded());
    const QByteArray before = readAll(m_path);
    core::IniFile ini(m_path);
    QVERIFY(!rows.save(ini, m_messages));
    QCOMPARE(m_messages.texts().last(), BellRows::kNotLoaded);
    QCOMPARE(readAll(m_path), before);
}

void TestBellEditor::emptiedListIsStoredAsCountZero() {
    BellRows rows = defaultRows();
    while (rows.count() > 0)
        QVERIFY(rows.remove(1));
    core::IniFile ini(m_path);
    QVERIFY(rows.save(ini, m_messages));
    QCOMPARE(ini.readString("Raspisanie", "Count"), QStringLiteral("0"));
    QCOMPARE(readBellTable(ini, 20).count(), 0);
}

void TestBellEditor::timeEntry_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("becomes");
    const int ok = QValidator::Acceptable, partial = QValidator::Intermediate,
              refused = QValidator::Invalid;
    QTest::newRow("one-digit hour") << "9:00:00" << ok << "9:00:00";
    QTest::newRow("two-digit hour") << "09:45:30" << ok << "09:45:30";
    QTest::newRow("old blank-padded text stays editable") << " 9:00:00" << ok << " 9:00:00";
    QTest::newRow("on the way") << "9:0" << partial << "9:0";
    QTest::newRow("empty") << "" << partial << "";
    QTest::newRow("hour 25 is typed; the save names the row")
        << "25:00:00" << partial << "25:00:00";
    QTest::newRow("third digit starts the minutes") << "083" << partial << "08:3";
    QTest::newRow("third digit starts the seconds") << "8:300" << ok << "8:30:0";
    QTest::newRow("three digits in the seconds") << "8:30:000" << refused << "8:30:000";
    QTest::newRow("a letter") << "9:0a" << refused << "9:0a";
    QTest::newRow("a fourth field") << "9:00:00:" << refused << "9:00:00:";
}

void TestBellEditor::timeEntry() {
    QFETCH(QString, text);
    BellTimeValidator validator;
    int pos = static_cast<int>(text.size());
    QTEST(static_cast<int>(validator.validate(text, pos)), "state");
    QTEST(text, "becomes");
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
    QTest::keyClicks(editor.stopEditor(), "104530"); // the colons come by themselves
    QCOMPARE(editor.list()->topLevelItem(1)->text(2), QStringLiteral("10:45:30"));
    QVERIFY(editor.saveLessons());
    QCOMPARE(editor.list()->topLevelItem(1)->text(3), QStringLiteral("29"));
    QCOMPARE(core::IniFile(m_path).readString("RaspisanieStop", "2"), QStringLiteral("10:45:30"));

    editor.removeLesson();
    QVERIFY(!editor.startEditor()->isEnabled());
    QVERIFY(!editor.removeButton()->isEnabled());
    QCOMPARE(editor.list()->topLevelItemCount(), 7);
    QCOMPARE(core::IniFile(m_path).readString("Raspisanie", "Count"), QStringLiteral("8"));
    editor.release();
    QCOMPARE(editor.list()->topLevelItemCount(), 0);
    // Released, the page has nothing it may store over the file.
    const QByteArray before = readAll(m_path);
    QVERIFY(!editor.saveLessons());
    QCOMPARE(m_messages.texts().last(), BellRows::kNotLoaded);
    QCOMPARE(readAll(m_path), before);
}

void TestBellEditor::storedTimesRoundTrip() {
    {
        core::IniFile ini(m_path);
        writeDefaultBellTable(ini);
    }
    BellEditor editor({m_messages});
    editor.load(m_path);
    QCOMPARE(editor.startEditor()->text(), QStringLiteral("9:00:00"));
    QCOMPARE(editor.stopEditor()->displayText(), QStringLiteral("9:45:00"));
    // Any key released in an editor copies its text into the row: it must come back as stored.
    QTest::keyClick(editor.startEditor(), Qt::Key_End);
    QTest::keyClick(editor.stopEditor(), Qt::Key_Home);
    QCOMPARE(editor.list()->topLevelItem(0)->text(1), QStringLiteral("9:00:00"));
    QCOMPARE(editor.list()->topLevelItem(0)->text(2), QStringLiteral("9:45:00"));
    QVERIFY(editor.saveLessons());
    QCOMPARE(core::IniFile(m_path).readString("RaspisanieStart", "1"), QStringLiteral("9:00:00"));
    // A one-digit hour can be typed as such.
    editor.startEditor()->selectAll();
    QTest::keyClicks(editor.startEditor(), "8:30:00");
    QCOMPARE(editor.list()->topLevelItem(0)->text(1), QStringLiteral("8:30:00"));
}

QTEST_MAIN(TestBellEditor)
#include "test_bell_editor.moc"
