#pragma once

#include "weather/forecast.h"

#include <QDate>
#include <QString>

class QFrame;
class QLabel;
class QWidget;

namespace kalmo::weather {

// Builds forecast row `index` (`Mypanel`index with its named texts and condition
// picture) inside panel, sized from the panel. Returns the row, owned by panel, or
// nullptr when the condition picture cannot be loaded; then nothing is added to panel.
QFrame *buildForecastRow(QWidget *panel, int index, const Forecast &forecast, const QDate &today);

// The caption crediting the weather service, under lastRowBottom + 5, centred on panel.
QLabel *buildAttribution(QWidget *panel, const QRect &lastRow);

// Text of the attribution caption.
QString attributionText();

} // namespace kalmo::weather
