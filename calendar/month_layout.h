#pragma once

#include <QDate>
#include <QPoint>
#include <QSize>
#include <QString>
#include <array>

namespace kalmo::calendar {

// "Январь" … "Декабрь", month 1..12.
QString monthName(int month);
// The month after and before, wrapping round the year.
QString nextMonthName(int month);
QString previousMonthName(int month);
// "Пн" … "Вс", Monday first, whatever the machine's locale.
QString shortDayName(int column);

// Titles: four blanks when the screen opens or goes to today, one when navigating.
QString openingTitle(const QDate &shown);
QString navigationTitle(const QDate &shown);
// "Сегодня: 09.12.2026 года."
QString todayLine(const QDate &today);

// The texts of the 7 × 7 grid for a month: row 0 the weekday names, rows 1..6 the day
// numbers with Monday in column 0; every other cell empty.
using MonthCells = std::array<std::array<QString, 7>, 7>;
MonthCells monthCells(int year, int month);

// Where the day tile goes beside cell (column, row): right of the cell for columns 0..2,
// left of it for 3..6; below for rows 0..3, above for 4..6. `origin` is the grid's left and
// top edge, `cell` the column width and row height, `line` the grid line width.
QPoint tilePosition(int column, int row, QPoint origin, QSize cell, int line, QSize tile);

// The shown date moved one month on or back, on its 1st.
QDate nextMonth(const QDate &shown);
QDate previousMonth(const QDate &shown);

} // namespace kalmo::calendar
