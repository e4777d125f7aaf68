#pragma once

#include <QDate>
#include <QString>

namespace kalmo::weather {

// One forecast period of the informer document. The "as written" texts keep the
// document's spelling, because they are shown (or form a file name) unchanged.
struct Forecast {
    QDate date;
    int period = 0;     // 0 night, 1 morning, 2 day, 3 evening
    QString periodText; // tod as written
    int cloudiness = 0;
    QString cloudinessText; // cloudiness as written
    int precipitation = 0;
    QString temperatureMin, temperatureMax;
    QString heatMin, heatMax;
    int windDirection = 0; // 0..7, clockwise from north
    QString windMin, windMax;
    QString humidityMin, humidityMax;
    QString pressureMin, pressureMax;
};

} // namespace kalmo::weather
