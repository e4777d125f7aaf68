#include "core/log.h"

namespace kalmo {
Q_LOGGING_CATEGORY(lcApp, "kalmo.app")
Q_LOGGING_CATEGORY(lcSettings, "kalmo.settings")
Q_LOGGING_CATEGORY(lcTransitions, "kalmo.transitions")
Q_LOGGING_CATEGORY(lcTicker, "kalmo.ticker")
Q_LOGGING_CATEGORY(lcWeather, "kalmo.weather")
Q_LOGGING_CATEGORY(lcWeb, "kalmo.web")
Q_LOGGING_CATEGORY(lcCalendar, "kalmo.calendar")
Q_LOGGING_CATEGORY(lcSchedule, "kalmo.schedule")
Q_LOGGING_CATEGORY(lcAdmin, "kalmo.admin")
Q_LOGGING_CATEGORY(lcPhoto, "kalmo.photo")
Q_LOGGING_CATEGORY(lcVideo, "kalmo.video")
Q_LOGGING_CATEGORY(lcFleet, "kalmo.fleet")
Q_LOGGING_CATEGORY(lcPower, "kalmo.power")
} // namespace kalmo
