#include "power/display_schedule.h"

#include <QTest>

using namespace kalmo::power;

Q_DECLARE_METATYPE(std::optional<QTime>)

namespace {

// 2026-12-07 is a Monday.
QDateTime at(int day, const char *time) {
    return QDateTime(QDate(2026, 12, day), QTime::fromString(QLatin1String(time), "H:mm:ss.zzz"));
}

} // namespace

class TestDisplaySchedule : public QObject {
    Q_OBJECT
private slots:
    void clockTimes_data();
    void clockTimes();
    void badValuesKeepTheScreenOn();
    void onOrOff_data();
    void onOrOff();
    void nextEdge_data();
    void nextEdge();
};

void TestDisplaySchedule::clockTimes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<QTime>>("time");
    QTest::newRow("H:mm") << "7:30" << std::optional(QTime(7, 30));
    QTest::newRow("HH:mm") << "07:30" << std::optional(QTime(7, 30));
    QTest::newRow("with seconds") << "18:30:15" << std::optional(QTime(18, 30, 15));
    QTest::newRow("blanks around") << " 9:05 " << std::optional(QTime(9, 5));
    QTest::newRow("midnight") << "0:00" << std::optional(QTime(0, 0));
    QTest::newRow("hour 24") << "24:00" << std::optional<QTime>();
    QTest::newRow("minute 60") << "7:60" << std::optional<QTime>();
    QTest::newRow("one minute digit") << "7:3" << std::optional<QTime>();
    QTest::newRow("dot") << "7.30" << std::optional<QTime>();
    QTest::newRow("empty") << "" << std::optional<QTime>();
    QTest::newRow("words") << "утро" << std::optional<QTime>();
}

void TestDisplaySchedule::clockTimes() {
    QFETCH(QString, text);
    QFETCH(std::optional<QTime>, time);
    QCOMPARE(parseClockTime(text), time);
}

void TestDisplaySchedule::badValuesKeepTheScreenOn() {
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("power/off is not a time"));
    const DisplaySchedule badOff = readDisplaySchedule("7:30", "вечер", "12345");
    QVERIFY(badOff.alwaysOn());
    QVERIFY(scheduledOn(badOff, at(7, "23:00:00.000"), {}));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("power/days is not a list"));
    QCOMPARE(readDisplaySchedule("7:30", "18:30", "пн-пт").days, QStringLiteral("12345"));
    QCOMPARE(readDisplaySchedule("7:30", "18:30", "").days, QStringLiteral("12345"));
    QCOMPARE(readDisplaySchedule("7:30", "18:30", " 67 ").days, QStringLiteral("67"));
    QVERIFY(!validWeekdays("1238"));
    QVERIFY(!validWeekdays("0"));

    // Equal times, or none: never sleeps, whatever the days.
    QVERIFY(readDisplaySchedule("8:00", "8:00", "1").alwaysOn());
    QVERIFY(readDisplaySchedule("", "", "1").alwaysOn());
}

void TestDisplaySchedule::onOrOff_data() {
    QTest::addColumn<QString>("on");
    QTest::addColumn<QString>("off");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QDateTime>("t");
    QTest::addColumn<bool>("expected");

    const QString weekdays = "12345";
    // 7 Dec: Monday; 11 Dec: Friday; 12 Dec: Saturday; 8 Dec is the calendar's holiday below.
    QTest::newRow("before on") << "7:30"
                               << "18:30" << weekdays << at(7, "7:29:59.999") << false;
    QTest::newRow("at on") << "7:30"
                           << "18:30" << weekdays << at(7, "7:30:00.000") << true;
    QTest::newRow("after on") << "7:30"
                              << "18:30" << weekdays << at(7, "7:30:01.000") << true;
    QTest::newRow("before off") << "7:30"
                                << "18:30" << weekdays << at(7, "18:29:59.999") << true;
    QTest::newRow("at off") << "7:30"
                            << "18:30" << weekdays << at(7, "18:30:00.000") << false;
    QTest::newRow("after off") << "7:30"
                               << "18:30" << weekdays << at(7, "19:00:00.000") << false;
    QTest::newRow("day not listed") << "7:30"
                                    << "18:30" << weekdays << at(12, "12:00:00.000") << false;
    QTest::newRow("weekend listed") << "7:30"
                                    << "18:30"
                                    << "67" << at(12, "12:00:00.000") << true;
    QTest::newRow("calendar holiday") << "7:30"
                                      << "18:30" << weekdays << at(8, "12:00:00.000") << false;
    // Across midnight, the night belongs to the evening it started on.
    QTest::newRow("night: evening") << "22:00"
                                    << "6:00" << weekdays << at(11, "23:00:00.000") << true;
    QTest::newRow("night: after midnight of an on-evening")
        << "22:00"
        << "6:00" << weekdays << at(12, "3:00:00.000") << true;
    QTest::newRow("night: at its off") << "22:00"
                                       << "6:00" << weekdays << at(12, "6:00:00.000") << false;
    QTest::newRow("night: day between") << "22:00"
                                        << "6:00" << weekdays << at(11, "12:00:00.000") << false;
    QTest::newRow("night: after midnight of an off-evening")
        << "22:00"
        << "6:00" << weekdays << at(7, "3:00:00.000") << false; // Sunday evening
    QTest::newRow("night: evening of a holiday")
        << "22:00"
        << "6:00" << weekdays << at(8, "23:00:00.000") << false;
    QTest::newRow("night: morning after a holiday")
        << "22:00"
        << "6:00" << weekdays << at(9, "3:00:00.000") << false;
}

void TestDisplaySchedule::onOrOff() {
    QFETCH(QString, on);
    QFETCH(QString, off);
    QFETCH(QString, days);
    QFETCH(QDateTime, t);
    QFETCH(bool, expected);
    const DayOffTest holiday = [](const QDate &d) { return d == QDate(2026, 12, 8); };
    QCOMPARE(scheduledOn(readDisplaySchedule(on, off, days), t, holiday), expected);
}

void TestDisplaySchedule::nextEdge_data() {
    QTest::addColumn<QString>("on");
    QTest::addColumn<QString>("off");
    QTest::addColumn<QDateTime>("t");
    QTest::addColumn<QDateTime>("edge");
    QTest::newRow("night: next on is tomorrow")
        << "7:30"
        << "18:30" << at(7, "19:00:00.000") << at(8, "7:30:00.000");
    QTest::newRow("morning: off today") << "7:30"
                                        << "18:30" << at(7, "7:30:00.000") << at(7, "18:30:00.000");
    QTest::newRow("before on") << "7:30"
                               << "18:30" << at(7, "3:00:00.000") << at(7, "7:30:00.000");
    QTest::newRow("across midnight") << "22:00"
                                     << "6:00" << at(7, "23:00:00.000") << at(8, "6:00:00.000");
    QTest::newRow("always on") << ""
                               << "" << at(7, "12:00:00.000") << QDateTime();
}

void TestDisplaySchedule::nextEdge() {
    QFETCH(QString, on);
    QFETCH(QString, off);
    QFETCH(QDateTime, t);
    QFETCH(QDateTime, edge);
    QCOMPARE(nextScheduleEdge(readDisplaySchedule(on, off, "12345"), t), edge);
}

QTEST_GUILESS_MAIN(TestDisplaySchedule)
#include "test_display_schedule.moc"
