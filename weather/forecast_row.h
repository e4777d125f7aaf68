#pragma once

#include "weather/forecast.h"

#include <QDate>
#include <QString>
#include <functional>

class QFrame;
class QLabel;
class QWidget;

namespace kalmo::weather {

// Finds a program picture by its relative name ("cloudiness/00.png").
using PictureLookup = std::function<QString(const QString &relative)>;

// Builds forecast row `index` (`Mypanel`index with its named texts and condition
// picture) inside panel, sized from the panel. Returns the row, owned by panel, or
// nullptr when the condition picture cannot be loaded; then nothing is added to panel.
QFrame *buildForecastRow(QWidget *panel, int index, const Forecast &forecast, const QDate &today,
                         const PictureLookup &pictures);

// The caption crediting the weather service, under lastRowBottom + 5, centred on panel.
QLabel *buildAttribution(QWidget *panel, const QRect &lastRow);

// Text of the attribution caption.
QString attributionText();

} // namespace kalmo::weather
