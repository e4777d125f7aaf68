#pragma once

#include <QLoggingCategory>

// The program's log categories, one per subsystem ("kalmo.<subsystem>"). Everything logged
// through them ends up in the base folder's kalmo.log (and on stderr from a terminal).
namespace kalmo {
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcTransitions)
Q_DECLARE_LOGGING_CATEGORY(lcTicker)
Q_DECLARE_LOGGING_CATEGORY(lcWeather)
Q_DECLARE_LOGGING_CATEGORY(lcWeb)
Q_DECLARE_LOGGING_CATEGORY(lcCalendar)
Q_DECLARE_LOGGING_CATEGORY(lcSchedule)
Q_DECLARE_LOGGING_CATEGORY(lcAdmin)
Q_DECLARE_LOGGING_CATEGORY(lcPhoto)
Q_DECLARE_LOGGING_CATEGORY(lcVideo)
Q_DECLARE_LOGGING_CATEGORY(lcFleet)
Q_DECLARE_LOGGING_CATEGORY(lcPower)
} // namespace kalmo
