#pragma once

#include "weather/forecast.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace kalmo::weather {

// The panel has room for five rows; later forecasts are ignored.
inline constexpr int kMaxForecasts = 5;

// Reads the forecasts of an informer document: the children of the first TOWN of the
// first REPORT under the document element, names case-sensitive. Any fault (not
// well-formed XML, a missing element or attribute, a code that is not a whole number
// or lies outside its word table, an invalid date) gives nullopt, never a partial list.
std::optional<QList<Forecast>> parseForecastDocument(const QByteArray &xml);

} // namespace kalmo::weather
