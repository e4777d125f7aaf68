#pragma once

#include "weather/forecast.h"

#include <QDate>
#include <QString>

namespace kalmo::weather {

// Word tables; an index outside a table gives an empty text.
QString periodWord(int period);
QString monthWord(int month);
QString windWord(int direction);
QString conditionWord(int code);

// "0" -> " 0", anything with a minus stays, everything else gets a plus.
QString signedTemperature(const QString &value);

// The texts of one forecast row, in the order the row shows them.
struct RowTexts {
    QString date;          // "5 мая"
    QString period;        // "Сегодня утром" / "Завтра денем"
    QString temperature;   // "+10.. +12"
    QString heat;          // "Real  +8.. +10"
    QString wind;          // Ветер "северный", 1.. 3 м/с
    QString humidity;      // "Влажность 60.. 70 %"
    QString pressure;      // "Давление 745 - 747 мм рт. ст."
    QString cloudiness;    // condition word of the cloud cover
    QString precipitation; // condition word of the precipitation
};

// today is the kiosk's current date: any other date is labelled "Завтра ".
RowTexts rowTexts(const Forecast &forecast, const QDate &today);

// Condition picture, relative to the working folder: "cloudiness/21.png".
QString conditionPicturePath(const Forecast &forecast);

} // namespace kalmo::weather
