#include "weather/forecast_parser.h"

#include "core/strict_int.h"

#include <QHash>
#include <QXmlStreamReader>

namespace kalmo::weather {

namespace {

// What one forecast element carries before conversion.
struct RawForecast {
    QXmlStreamAttributes own;
    QHash<QString, QXmlStreamAttributes> children; // first child of each name
};

std::optional<QString> attribute(const QXmlStreamAttributes &attrs, const QString &name) {
    if (!attrs.hasAttribute(name))
        return std::nullopt;
    return attrs.value(name).toString();
}

std::optional<int> codeInRange(const std::optional<QString> &text, int low, int high) {
    if (!text)
        return std::nullopt;
    const auto value = core::parseInt(*text);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

// Day, month and year are plain decimal numbers, as in "5.5.2026".
std::optional<int> datePart(const std::optional<QString> &text) {
    if (!text)
        return std::nullopt;
    const QString t = text->trimmed();
    if (t.isEmpty() || t.size() > 4)
        return std::nullopt;
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return t.toInt();
}

bool readPair(const RawForecast &raw, const QString &element, QString &min, QString &max) {
    const auto it = raw.children.constFind(element);
    if (it == raw.children.constEnd())
        return false;
    const auto lo = attribute(*it, QStringLiteral("min"));
    const auto hi = attribute(*it, QStringLiteral("max"));
    if (!lo || !hi)
        return false;
    min = *lo;
    max = *hi;
    return true;
}

std::optional<Forecast> convert(const RawForecast &raw) {
    Forecast f;
    const auto day = datePart(attribute(raw.own, QStringLiteral("day")));
    const auto month = datePart(attribute(raw.own, QStringLiteral("month")));
    const auto year = datePart(attribute(raw.own, QStringLiteral("year")));
    if (!day || !month || !year)
        return std::nullopt;
    f.date = QDate(*year, *month, *day);
    if (!f.date.isValid())
        return std::nullopt;

    const auto tod = attribute(raw.own, QStringLiteral("tod"));
    const auto period = codeInRange(tod, 0, 3);
    if (!period)
        return std::nullopt;
    f.period = *period;
    f.periodText = *tod;

    const auto phenomena = raw.children.constFind(QStringLiteral("PHENOMENA"));
    if (phenomena == raw.children.constEnd())
        return std::nullopt;
    const auto cloudText = attribute(*phenomena, QStringLiteral("cloudiness"));
    const auto cloud = codeInRange(cloudText, 0, 10);
    const auto precipitation =
        codeInRange(attribute(*phenomena, QStringLiteral("precipitation")), 0, 10);
    if (!cloud || !precipitation)
        return std::nullopt;
    f.cloudiness = *cloud;
    f.cloudinessText = *cloudText;
    f.precipitation = *precipitation;

    if (!readPair(raw, QStringLiteral("TEMPERATURE"), f.temperatureMin, f.temperatureMax) ||
        !readPair(raw, QStringLiteral("HEAT"), f.heatMin, f.heatMax) ||
        !readPair(raw, QStringLiteral("WIND"), f.windMin, f.windMax) ||
        !readPair(raw, QStringLiteral("RELWET"), f.humidityMin, f.humidityMax) ||
        !readPair(raw, QStringLiteral("PRESSURE"), f.pressureMin, f.pressureMax))
        return std::nullopt;

    const auto wind = raw.children.constFind(QStringLiteral("WIND"));
    const auto direction = codeInRange(attribute(*wind, QStringLiteral("direction")), 0, 7);
    if (!direction)
        return std::nullopt;
    f.windDirection = *direction;
    return f;
}

} // namespace

std::optional<QList<Forecast>> parseForecastDocument(const QByteArray &xml) {
    // Depths: 1 document element, 2 REPORT, 3 TOWN, 4 forecast, 5 forecast child.
    // Streaming keeps memory flat however deep or long a hostile document is.
    QXmlStreamReader reader(xml);
    int depth = 0;
    bool reportSeen = false, townSeen = false;
    bool inReport = false, inTown = false, inForecast = false;
    QList<RawForecast> raws;

    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            const auto name = reader.name();
            if (depth == 2 && !reportSeen && name == u"REPORT") {
                reportSeen = inReport = true;
            } else if (depth == 3 && inReport && !townSeen && name == u"TOWN") {
                townSeen = inTown = true;
            } else if (depth == 4 && inTown && raws.size() < kMaxForecasts) {
                inForecast = true;
                raws.append(RawForecast{reader.attributes(), {}});
            } else if (depth == 5 && inForecast) {
                auto &children = raws.last().children;
                const QString key = name.toString();
                if (!children.contains(key))
                    children.insert(key, reader.attributes());
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 2)
                inReport = false;
            else if (depth == 3)
                inTown = false;
            else if (depth == 4)
                inForecast = false;
            --depth;
        }
    }
    if (reader.hasError() || !townSeen)
        return std::nullopt;

    QList<Forecast> forecasts;
    for (const RawForecast &raw : raws) {
        auto f = convert(raw);
        if (!f)
            return std::nullopt;
        forecasts.append(*f);
    }
    return forecasts;
}

} // namespace kalmo::weather
