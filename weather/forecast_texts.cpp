#include "weather/forecast_texts.h"

#include <array>

namespace kalmo::weather {

namespace {

template <std::size_t N> QString lookup(const std::array<const char16_t *, N> &table, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return {};
    return QString::fromUtf16(table[static_cast<std::size_t>(index)]);
}

} // namespace

QString periodWord(int period) {
    static constexpr std::array<const char16_t *, 4> words{u"ночью", u"утром", u"денем",
                                                           u"вечером"};
    return lookup(words, period);
}

QString monthWord(int month) {
    static constexpr std::array<const char16_t *, 12> words{
        u"января", u"февраля", u"марта",    u"апреля",  u"мая",    u"июня",
        u"июля",   u"августа", u"сентября", u"октября", u"ноября", u"декабря"};
    return lookup(words, month - 1);
}

QString windWord(int direction) {
    static constexpr std::array<const char16_t *, 8> words{u"северный", u"СВ", u"восточный", u"ЮВ",
                                                           u"южный",    u"ЮЗ", u"западный",  u"СЗ"};
    return lookup(words, direction);
}

QString conditionWord(int code) {
    static constexpr std::array<const char16_t *, 11> words{
        u"ясно", u"малооблачно", u"облачно", u"пасмурно", u"дождь",      u"ливень",
        u"снег", u"снег",        u"гроза",   u"",         u"без осадков"};
    return lookup(words, code);
}

QString signedTemperature(const QString &value) {
    if (value == u"0")
        return QStringLiteral(" 0");
    if (value.contains(u'-'))
        return value;
    return u'+' + value;
}

RowTexts rowTexts(const Forecast &f, const QDate &today) {
    RowTexts t;
    t.date = QString::number(f.date.day()) + u' ' + monthWord(f.date.month());
    t.period = (f.date == today ? QStringLiteral("Сегодня ") : QStringLiteral("Завтра ")) +
               periodWord(f.period);
    t.temperature = signedTemperature(f.temperatureMin) + QStringLiteral(".. ") +
                    signedTemperature(f.temperatureMax);
    t.heat = QStringLiteral("Real  ") + signedTemperature(f.heatMin) + QStringLiteral(".. ") +
             signedTemperature(f.heatMax);
    t.wind = QStringLiteral("Ветер \"") + windWord(f.windDirection) + QStringLiteral("\", ") +
             f.windMin + QStringLiteral(".. ") + f.windMax + QStringLiteral(" м/с");
    t.humidity = QStringLiteral("Влажность ") + f.humidityMin + QStringLiteral(".. ") +
                 f.humidityMax + QStringLiteral(" %");
    t.pressure = QStringLiteral("Давление ") + f.pressureMin + QStringLiteral(" - ") +
                 f.pressureMax + QStringLiteral(" мм рт. ст.");
    t.cloudiness = conditionWord(f.cloudiness);
    t.precipitation = conditionWord(f.precipitation);
    return t;
}

QString conditionPicturePath(const Forecast &f) {
    return QStringLiteral("cloudiness/") + f.periodText + f.cloudinessText + QStringLiteral(".png");
}

} // namespace kalmo::weather
