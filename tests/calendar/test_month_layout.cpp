#include "calendar/calendar_window.h"
#include "calendar/month_layout.h"

#include <QTest>

using namespace kalmo::calendar;

class TestMonthLayout : public QObject {
    Q_OBJECT
private slots:
    void monthGrid_data();
    void monthGrid();
    void titlesAndNeighbours_data();
    void titlesAndNeighbours();
    void tilePlacement_data();
    void tilePlacement();
    void cellFillOrder_data();
    void cellFillOrder();
};

void TestMonthLayout::monthGrid_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("firstColumn");
    QTest::addColumn<int>("days");
    QTest::newRow("Feb 2021: Monday, 28 days, four rows") << 2021 << 2 << 0 << 28;
    QTest::newRow("Feb 2024: Thursday, 29") << 2024 << 2 << 3 << 29;
    QTest::newRow("Sep 2026: Tuesday, 30") << 2026 << 9 << 1 << 30;
    QTest::newRow("Apr 2026: Wednesday, 30") << 2026 << 4 << 2 << 30;
    QTest::newRow("May 2026: Friday, 31") << 2026 << 5 << 4 << 31;
    QTest::newRow("Aug 2026: Saturday, 31") << 2026 << 8 << 5 << 31;
    QTest::newRow("Mar 2026: Sunday, 31, six rows") << 2026 << 3 << 6 << 31;
}

void TestMonthLayout::monthGrid() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, firstColumn);
    QFETCH(int, days);
    const MonthCells cells = monthCells(year, month);
    QCOMPARE(cells[0][0], QStringLiteral("Пн"));
    QCOMPARE(cells[0][6], QStringLiteral("Вс"));
    int expected = 1 - firstColumn;
    for (int r = 1; r < 7; ++r)
        for (int c = 0; c < 7; ++c, ++expected) {
            const QString want =
                expected >= 1 && expected <= days ? QString::number(expected) : QString();
            QVERIFY2(cells[r][c] == want,
                     qPrintable(
                         QStringLiteral("row %1 column %2: '%3'").arg(r).arg(c).arg(cells[r][c])));
        }
}

void TestMonthLayout::titlesAndNeighbours_data() {
    QTest::addColumn<QDate>("shown");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("navigation");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("previous");
    QTest::newRow("December") << QDate(2026, 12, 9) << "Декабрь    2026 года."
                              << "Декабрь 2026 года."
                              << "Январь"
                              << "Ноябрь";
    QTest::newRow("January") << QDate(2027, 1, 31) << "Январь    2027 года."
                             << "Январь 2027 года."
                             << "Февраль"
                             << "Декабрь";
}

void TestMonthLayout::titlesAndNeighbours() {
    QFETCH(QDate, shown);
    QFETCH(QString, opening);
    QFETCH(QString, navigation);
    QFETCH(QString, next);
    QFETCH(QString, previous);
    QCOMPARE(openingTitle(shown), opening);
    QCOMPARE(navigationTitle(shown), navigation);
    QCOMPARE(nextMonthName(shown.month()), next);
    QCOMPARE(previousMonthName(shown.month()), previous);
    QCOMPARE(nextMonth(QDate(2026, 12, 31)), QDate(2027, 1, 1));
    QCOMPARE(previousMonth(QDate(2027, 1, 31)), QDate(2026, 12, 1));
    QCOMPARE(todayLine(QDate(2026, 12, 9)), QStringLiteral("Сегодня: 09.12.2026 года."));
}

void TestMonthLayout::tilePlacement_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QPoint>("topLeft");
    // Grid at (5, 90), cells 100 × 50, lines 4, tile 330 × 200: pitch 104 × 54.
    QTest::newRow("left top: right of and below") << 2 << 3 << QPoint(5 + 3 * 104, 90 + 4 * 54);
    QTest::newRow("right top: left of and below")
        << 3 << 0 << QPoint(5 + 3 * 104 - 330, 90 + 1 * 54);
    QTest::newRow("left bottom: right of and above")
        << 0 << 4 << QPoint(5 + 1 * 104, 90 + 4 * 54 - 200);
    QTest::newRow("right bottom: left of and above")
        << 6 << 6 << QPoint(5 + 6 * 104 - 330, 90 + 6 * 54 - 200);
}

void TestMonthLayout::tilePlacement() {
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QPoint, topLeft);
    QCOMPARE(tilePosition(column, row, QPoint(5, 90), QSize(100, 50), 4, QSize(330, 200)), topLeft);
}

void TestMonthLayout::cellFillOrder_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("saturday");
    QTest::addColumn<int>("kind"); // 0: not marked
    QTest::addColumn<int>("fill"); // -1: none
    Marking m;
    m.dayOff = 0x0000FF;
    m.holiday = 0xFF0000;
    m.event = 0x008000;
    QTest::newRow("plain weekday") << "3" << 1 << 2 << false << 0 << -1;
    QTest::newRow("Saturday off without the flag") << "6" << 1 << 5 << false << 0 << -1;
    QTest::newRow("Saturday with the flag") << "6" << 1 << 5 << true << 0 << 0x0000FF;
    QTest::newRow("Sunday") << "7" << 1 << 6 << false << 0 << 0x0000FF;
    QTest::newRow("empty Sunday cell") << "" << 6 << 6 << false << 0 << -1;
    QTest::newRow("header") << "Вс" << 0 << 6 << false << 0 << -1;
    QTest::newRow("event") << "3" << 1 << 2 << false << 1 << 0x008000;
    QTest::newRow("day off") << "3" << 1 << 2 << false << 2 << 0x0000FF;
    QTest::newRow("holiday") << "3" << 1 << 2 << false << 3 << 0xFF0000;
    QTest::newRow("marked Sunday shows its kind") << "7" << 1 << 6 << false << 1 << 0x008000;
    QTest::newRow("kind 7 black") << "3" << 1 << 2 << false << 7 << 0;
    QTest::newRow("kind 4 black") << "3" << 1 << 2 << false << 4 << 0;
}

void TestMonthLayout::cellFillOrder() {
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, saturday);
    QFETCH(int, kind);
    QFETCH(int, fill);
    Marking m;
    m.saturday = saturday;
    m.sunday = true;
    m.dayOff = 0x0000FF;
    m.holiday = 0xFF0000;
    m.event = 0x008000;
    const auto got = cellFill(text, row, column, m, kind ? std::optional<int>(kind) : std::nullopt);
    QCOMPARE(got.has_value() ? int(*got) : -1, fill);
}

QTEST_GUILESS_MAIN(TestMonthLayout)
#include "test_month_layout.moc"
