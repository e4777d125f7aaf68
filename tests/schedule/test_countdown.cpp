#include "schedule/bell_time.h"
#include "schedule/countdown.h"

#include <QTest>

using namespace kalmo::schedule;

Q_DECLARE_METATYPE(kalmo::schedule::BellTable)

namespace {

BellTable firstStartTable() {
    return {{"9:00:00", "10:00:00", "11:15:00", "13:00:00", "14:00:00", "15:15:00", "16:15:00",
             "17:15:00"},
            {"9:45:00", "10:45:00", "12:00:00", "13:45:00", "14:45:00", "16:00:00", "17:00:00",
             "18:00:00"}};
}

QTime at(const char *text) {
    const QTime t = QTime::fromString(QLatin1String(text), QStringLiteral("H:mm:ss.zzz"));
    return t.isValid() ? t : QTime::fromString(QLatin1String(text), QStringLiteral("H:mm:ss"));
}

} // namespace

class TestCountdown : public QObject {
    Q_OBJECT
private slots:
    void parsesBellTimes_data();
    void parsesBellTimes();
    void countdownLine_data();
    void countdownLine();
    void bellListOfTheFirstStartTable();
    void bellListEdgeCases();
};

void TestCountdown::parsesBellTimes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTime>("expected"); // invalid: not a time

    QTest::newRow("first start form") << "9:00:00" << QTime(9, 0);
    QTest::newRow("editor form") << "09:00:00" << QTime(9, 0);
    QTest::newRow("leading blank of a mask") << " 9:05:30" << QTime(9, 5, 30);
    QTest::newRow("last second") << "23:59:59" << QTime(23, 59, 59);
    QTest::newRow("empty") << "" << QTime();
    QTest::newRow("blank mask") << "  :  :  " << QTime();
    QTest::newRow("hour 25") << "25:00:00" << QTime();
    QTest::newRow("minute 60") << "9:60:00" << QTime();
    QTest::newRow("no seconds") << "9:00" << QTime();
    QTest::newRow("words") << "Нет" << QTime();
    QTest::newRow("three digit field") << "009:00:00" << QTime();
    QTest::newRow("sign") << "+9:00:00" << QTime();
}

void TestCountdown::parsesBellTimes() {
    QFETCH(QString, text);
    QFETCH(QTime, expected);
    const auto parsed = parseBellTime(text);
    QCOMPARE(parsed.has_value(), expected.isValid());
    if (parsed)
        QCOMPARE(*parsed, expected);
}

void TestCountdown::countdownLine_data() {
    QTest::addColumn<BellTable>("table");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("line"); // empty: the line keeps its text

    const BellTable t = firstStartTable();
    QTest::newRow("8:40:20 first lesson soon") << t << "8:40:20"
                                               << "1 занятие начнется через 19 минут 40 секунд.";
    QTest::newRow("9:15:30 lesson 1 running")
        << t << "9:15:30"
        << "1 занятие закончится через 0 час 29 минут 30 секунд.";
    QTest::newRow("9:50:10 break before lesson 2") << t << "9:50:10"
                                                   << "2 занятие начнется через 9 минут 50 секунд.";
    QTest::newRow("18:00:01 day over") << t << "18:00:01"
                                       << "На сегодня занятия закончились, встретимся завтра!";
    QTest::newRow("8:00:00 too early") << t << "8:00:00"
                                       << "";
    QTest::newRow("8:30:00.5 seconds read 60") << t << "8:30:00.500"
                                               << "1 занятие начнется через 29 минут 60 секунд.";
    QTest::newRow("8:29:59 half an hour away") << t << "8:29:59"
                                               << "";
    QTest::newRow("last millisecond of the last lesson")
        << t << "17:59:59.999"
        << "8 занятие закончится через 0 час 0 минут 1 секунд.";
    QTest::newRow("first millisecond after the last lesson")
        << t << "18:00:00.001"
        << "На сегодня занятия закончились, встретимся завтра!";
    QTest::newRow("exactly on a bell") << t << "9:45:00"
                                       << "";
    QTest::newRow("long lunch break") << t << "12:00:30"
                                      << "4 занятие начнется через 59 минут 30 секунд.";
    QTest::newRow("after midnight") << t << "0:10:00"
                                    << "";

    const BellTable longLesson{{"8:00:00"}, {"10:30:00"}};
    QTest::newRow("hours of a long lesson")
        << longLesson << "8:10:15"
        << "1 занятие закончится через 2 час 19 минут 45 секунд.";
    QTest::newRow("N = 1 after its end") << longLesson << "10:30:01"
                                         << "На сегодня занятия закончились, встретимся завтра!";
    QTest::newRow("N = 0") << BellTable{} << "9:15:30"
                           << "";

    // Lesson 2 ends before it starts: it never runs, the break after lesson 1 still counts.
    const BellTable reversed{{"9:00:00", "11:00:00", "12:00:00"},
                             {"9:45:00", "10:00:00", "12:45:00"}};
    QTest::newRow("reversed lesson never runs") << reversed << "11:30:00"
                                                << "3 занятие начнется через 30 минут 60 секунд.";
    QTest::newRow("break before a reversed lesson")
        << reversed << "9:50:00"
        << "2 занятие начнется через 70 минут 60 секунд.";

    BellTable gap = firstStartTable();
    gap.starts[1] = QString();             // lesson 2 has no start
    gap.stops[2] = QStringLiteral("обед"); // lesson 3 has no end
    QTest::newRow("unparsable next start is skipped") << gap << "9:50:10"
                                                      << "";
    QTest::newRow("lesson without a start does not run") << gap << "10:30:00"
                                                         << "";
    QTest::newRow("lesson without an end does not run") << gap << "11:30:00"
                                                        << "";
    QTest::newRow("lessons after the bad entries still count")
        << gap << "13:10:00"
        << "4 занятие закончится через 0 час 35 минут 60 секунд.";
    BellTable badLast = firstStartTable();
    badLast.stops[7] = QStringLiteral("abc");
    QTest::newRow("unparsable last end: no day-over line") << badLast << "19:00:00"
                                                           << "";
}

void TestCountdown::countdownLine() {
    QFETCH(BellTable, table);
    QFETCH(QString, now);
    QFETCH(QString, line);
    const auto result = kalmo::schedule::countdownLine(table, at(qPrintable(now)));
    QCOMPARE(result.value_or(QString()), line);
}

void TestCountdown::bellListOfTheFirstStartTable() {
    const QStringList lines = bellListLines(firstStartTable());
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines.first(), QStringLiteral("1) 9:00:00 - 9:45:00, перерыв 15 минут."));
    QCOMPARE(lines.last(), QStringLiteral("8) 17:15:00 - 18:00:00. Окончание занятий."));
    QList<int> breaks;
    for (int k = 1; k < 8; ++k)
        breaks << breakAfter(firstStartTable(), k).value_or(-1);
    QCOMPARE(breaks, (QList<int>{15, 30, 60, 15, 30, 15, 15}));
}

void TestCountdown::bellListEdgeCases() {
    // One lesson: its line ends the day.
    QCOMPARE(bellListLines({{"9:00:00"}, {"9:45:00"}}),
             QStringList{"1) 9:00:00 - 9:45:00. Окончание занятий."});
    // Lesson 3 ends after lesson 4 starts: the break is the positive distance.
    const BellTable overlap{{"9:00:00", "10:00:00", "11:00:00", "11:30:00"},
                            {"9:45:00", "10:45:00", "12:10:30", "12:15:00"}};
    QCOMPARE(bellListLines(overlap).at(2),
             QStringLiteral("3) 11:00:00 - 12:10:30, перерыв 40 минут."));
    // Entries that are not times stand as they are; their break is left out.
    const BellTable bad{{"9:00:00", "", "11:00:00"}, {"обед", "10:45:00", "11:45:00"}};
    QCOMPARE(bellListLines(bad),
             (QStringList{"1) 9:00:00 - обед.", "2)  - 10:45:00, перерыв 15 минут.",
                          "3) 11:00:00 - 11:45:00. Окончание занятий."}));
    QCOMPARE(unreadableBellEntries(bad), (QStringList{"end 1 \"обед\"", "start 2 \"\""}));
    QVERIFY(bellListLines({}).isEmpty());
}

QTEST_APPLESS_MAIN(TestCountdown)
#include "test_countdown.moc"
