#include "weather/forecast_parser.h"

#include <QFile>
#include <QtTest>

using namespace kalmo::weather;

class TestWeatherParser : public QObject {
    Q_OBJECT

private:
    static QByteArray fixture() {
        QFile f(QStringLiteral(KALMO_TEST_DATA "/weather/forecast.xml"));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("fixture missing");
        return f.readAll();
    }
    // The fixture with the first occurrence of `from` replaced.
    static QByteArray edited(const QByteArray &from, const QByteArray &to) {
        QByteArray xml = fixture();
        const auto at = xml.indexOf(from);
        if (at < 0)
            qFatal("edit does not apply: %s", from.constData());
        return xml.replace(at, from.size(), to);
    }

private slots:
    void readsEveryFieldAsWritten() {
        const auto forecasts = parseForecastDocument(fixture());
        QVERIFY(forecasts);
        QCOMPARE(forecasts->size(), 4);
        const Forecast &f = forecasts->at(0);
        QCOMPARE(f.date, QDate(2026, 5, 5));
        QCOMPARE(f.period, 2);
        QCOMPARE(f.periodText, QStringLiteral("2"));
        QCOMPARE(f.cloudiness, 1);
        QCOMPARE(f.cloudinessText, QStringLiteral("1"));
        QCOMPARE(f.precipitation, 10);
        QCOMPARE(f.temperatureMin, QStringLiteral("10"));
        QCOMPARE(f.temperatureMax, QStringLiteral("12"));
        QCOMPARE(f.heatMin, QStringLiteral("8"));
        QCOMPARE(f.heatMax, QStringLiteral("10"));
        QCOMPARE(f.windDirection, 0);
        QCOMPARE(f.windMin, QStringLiteral("1"));
        QCOMPARE(f.windMax, QStringLiteral("3"));
        QCOMPARE(f.humidityMin, QStringLiteral("60"));
        QCOMPARE(f.humidityMax, QStringLiteral("70"));
        QCOMPARE(f.pressureMin, QStringLiteral("745"));
        QCOMPARE(f.pressureMax, QStringLiteral("747"));
        QCOMPARE(forecasts->at(2).date, QDate(2026, 5, 6));
        QCOMPARE(forecasts->at(2).temperatureMin, QStringLiteral("-3"));
        QCOMPARE(forecasts->at(3).period, 1);
    }

    void rejectsBrokenDocuments_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("not xml") << QByteArray("<html><body>502 Bad Gateway</body></html");
        QTest::newRow("empty body") << QByteArray();
        QTest::newRow("truncated") << fixture().left(fixture().size() / 2);
        QTest::newRow("no REPORT")
            << edited("<REPORT type=\"frc3\">", "<REPORTS>").replace("</REPORT>", "</REPORTS>");
        QTest::newRow("REPORT in lower case")
            << edited("<REPORT type=\"frc3\">", "<report>").replace("</REPORT>", "</report>");
        QTest::newRow("no TOWN") << edited("<TOWN index=\"27612\"", "<CITY index=\"27612\"")
                                        .replace("</TOWN>", "</CITY>");
        QTest::newRow("no tod") << edited(" tod=\"2\"", "");
        QTest::newRow("no day") << edited("day=\"05\"", "dag=\"05\"");
        QTest::newRow("no PHENOMENA") << edited("<PHENOMENA", "<PHENOMENON");
        QTest::newRow("no precipitation") << edited("precipitation=\"10\"", "");
        QTest::newRow("no WIND direction") << edited(" direction=\"0\"", "");
        QTest::newRow("no PRESSURE max") << edited("max=\"747\"", "");
        QTest::newRow("no HEAT") << edited("<HEAT min=\"8\" max=\"10\"/>", "");
        QTest::newRow("no RELWET in a later forecast")
            << edited("<RELWET max=\"95\" min=\"90\"/>", "");
        QTest::newRow("tod not a number") << edited("tod=\"2\"", "tod=\"day\"");
        QTest::newRow("cloudiness not a number")
            << edited("cloudiness=\"1\"", "cloudiness=\"1.5\"");
        QTest::newRow("direction empty") << edited("direction=\"0\"", "direction=\"\"");
        QTest::newRow("tod above 3") << edited("tod=\"2\"", "tod=\"4\"");
        QTest::newRow("direction above 7") << edited("direction=\"0\"", "direction=\"8\"");
        QTest::newRow("cloudiness above 10") << edited("cloudiness=\"1\"", "cloudiness=\"11\"");
        QTest::newRow("negative precipitation")
            << edited("precipitation=\"10\"", "precipitation=\"-1\"");
        QTest::newRow("31 February")
            << edited("day=\"05\" month=\"05\"", "day=\"31\" month=\"02\"");
        QTest::newRow("month 13") << edited("month=\"05\"", "month=\"13\"");
        QTest::newRow("signed day") << edited("day=\"05\"", "day=\"+5\"");
    }
    void rejectsBrokenDocuments() {
        QFETCH(QByteArray, xml);
        QVERIFY(!parseForecastDocument(xml));
    }

    void emptyTownGivesNoForecasts() {
        const auto forecasts = parseForecastDocument(
            "<MMWEATHER><REPORT><TOWN index=\"1\"></TOWN></REPORT></MMWEATHER>");
        QVERIFY(forecasts);
        QVERIFY(forecasts->isEmpty());
    }

    void keepsTheFirstFiveForecasts() {
        QByteArray xml = fixture();
        const auto start = xml.indexOf("<FORECAST");
        const auto end = xml.indexOf("</TOWN>");
        const QByteArray four = xml.mid(start, end - start);
        // 12 forecasts; the ones past the fifth may even be incomplete.
        xml.insert(end, four + four + "<FORECAST/>");
        const auto forecasts = parseForecastDocument(xml);
        QVERIFY(forecasts);
        QCOMPARE(forecasts->size(), kMaxForecasts);
        QCOMPARE(forecasts->at(4).date, QDate(2026, 5, 5));
    }

    void readsOnlyTheFirstReportAndTown() {
        // A second TOWN with a broken forecast is never looked at.
        QByteArray xml = fixture();
        xml.replace("</TOWN>", "</TOWN><TOWN><FORECAST/></TOWN>");
        const auto forecasts = parseForecastDocument(xml);
        QVERIFY(forecasts);
        QCOMPARE(forecasts->size(), 4);
    }

    void ignoresWhitespaceAroundCodesButKeepsTheirSpelling() {
        const auto forecasts = parseForecastDocument(edited("tod=\"2\"", "tod=\" 2\""));
        QVERIFY(forecasts);
        QCOMPARE(forecasts->at(0).period, 2);
        QCOMPARE(forecasts->at(0).periodText, QStringLiteral(" 2"));
    }

    void readsWindows1251Documents() {
        QByteArray xml = fixture();
        xml.replace("encoding=\"UTF-8\"", "encoding=\"windows-1251\"");
        xml.replace("sname=\"%CC%EE%F1%EA%E2%E0\"", "sname=\"\xcc\xee\xf1\xea\xe2\xe0\"");
        const auto forecasts = parseForecastDocument(xml);
        QVERIFY(forecasts);
        QCOMPARE(forecasts->size(), 4);
    }

    void survivesDeepNesting() {
        QByteArray xml = "<MMWEATHER><REPORT><TOWN>";
        xml += QByteArray("<a>").repeated(200000) + QByteArray("</a>").repeated(200000);
        xml += "</TOWN></REPORT></MMWEATHER>";
        QVERIFY(!parseForecastDocument(xml)); // the <a> forecast lacks everything
    }
};

QTEST_GUILESS_MAIN(TestWeatherParser)
#include "tst_weather_parser.moc"
