#include "calendar/month_layout.h"

namespace kalmo::calendar {

namespace {
const char *const kMonths[12] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                 "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
const char *const kDays[7] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
} // namespace

QString monthName(int month) {
    return month >= 1 && month <= 12 ? QString::fromUtf8(kMonths[month - 1]) : QString();
}

QString nextMonthName(int month) {
    return monthName(month % 12 + 1);
}

QString previousMonthName(int month) {
    return monthName((month + 10) % 12 + 1);
}

QString shortDayName(int column) {
    return column >= 0 && column < 7 ? QString::fromUtf8(kDays[column]) : QString();
}

QString openingTitle(const QDate &shown) {
    return monthName(shown.month()) + QStringLiteral("    ") + QString::number(shown.year()) +
           QStringLiteral(" года.");
}

QString navigationTitle(const QDate &shown) {
    return monthName(shown.month()) + u' ' + QString::number(shown.year()) +
           QStringLiteral(" года.");
}

QString todayLine(const QDate &today) {
    return QStringLiteral("Сегодня: ") + today.toString(QStringLiteral("dd.MM.yyyy")) +
           QStringLiteral(" года.");
}

MonthCells monthCells(int year, int month) {
    MonthCells cells;
    for (int c = 0; c < 7; ++c)
        cells[0][c] = shortDayName(c);
    const QDate first(year, month, 1);
    if (!first.isValid())
        return cells;
    int column = first.dayOfWeek() - 1; // Monday 0
    int row = 1;
    for (int day = 1; day <= first.daysInMonth(); ++day) {
        cells[row][column] = QString::number(day);
        if (++column == 7) {
            column = 0;
            ++row;
        }
    }
    return cells;
}

QPoint tilePosition(int column, int row, QPoint origin, QSize cell, int line, QSize tile) {
    const int pitchX = cell.width() + line, pitchY = cell.height() + line;
    const int x = column <= 2 ? origin.x() + (column + 1) * pitchX
                              : origin.x() + column * pitchX - tile.width();
    const int y =
        row <= 3 ? origin.y() + (row + 1) * pitchY : origin.y() + row * pitchY - tile.height();
    return {x, y};
}

QDate nextMonth(const QDate &shown) {
    return QDate(shown.year(), shown.month(), 1).addMonths(1);
}

QDate previousMonth(const QDate &shown) {
    return QDate(shown.year(), shown.month(), 1).addMonths(-1);
}

} // namespace kalmo::calendar
