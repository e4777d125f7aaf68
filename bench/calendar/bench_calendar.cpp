// Prints the calendar screen's opening time on a file of 3,650 marked days and the time to
// paint one month of the grid at 1920 x 1080 (median of several runs each).
#include "calendar/calendar_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kalmo;

namespace {
double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString base = dir.path() + u'/';
    {
        QFile f(base + QStringLiteral("dateini.ini"));
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QByteArray text = "[ini]\r\nfile=1\r\nSaturday=1\r\nSunday=1\r\n";
        QDate d(2017, 1, 1);
        for (int i = 0; i < 3650; ++i, d = d.addDays(1))
            text += "[" + calendar::dateKey(d).toUtf8() +
                    "]\r\nevent=<body> <p align=\"center\"> " + "Событие " + QByteArray::number(i) +
                    "</p> </body>\r\nimage=\r\nfile=\r\n" +
                    "eventday=" + QByteArray::number(i % 3 + 1) + "\r\n";
        f.write(text);
    }
    core::ProgramValues values;
    values.baseFolder = base;
    values.mainSettingsPath = base + QStringLiteral("kalmora.ini");
    core::ManualClock clock(QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    core::IdleClock idle(clock);
    calendar::TFormCalendar screen(
        calendar::CalendarScreenServices{values, clock, idle, QSize(1920, 1080)});

    std::vector<double> opening, paint;
    QImage target(1920, 1080, QImage::Format_RGB32);
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        t.start();
        screen.runOpening();
        opening.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        QPainter p(&target);
        screen.grid()->render(&p);
        p.end();
        paint.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("calendar opening (3650 marked days): %.2f ms\n", median(opening));
    std::printf("month paint 1920x1080: %.2f ms\n", median(paint));
    return 0;
}
