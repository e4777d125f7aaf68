#include "weather/forecast_texts.h"
#include "weather/informer_address.h"
#include "weather/row_geometry.h"

#include <QtTest>

using namespace kalmo::weather;

namespace {

Forecast sample() {
    Forecast f;
    f.date = QDate(2026, 5, 5);
    f.period = 2;
    f.periodText = QStringLiteral("2");
    f.cloudiness = 1;
    f.cloudinessText = QStringLiteral("1");
    f.precipitation = 9;
    f.temperatureMin = QStringLiteral("10");
    f.temperatureMax = QStringLiteral("12");
    f.heatMin = QStringLiteral("-2");
    f.heatMax = QStringLiteral("0");
    f.windDirection = 5;
    f.windMin = QStringLiteral("1");
    f.windMax = QStringLiteral("3");
    f.humidityMin = QStringLiteral("60");
    f.humidityMax = QStringLiteral("70");
    f.pressureMin = QStringLiteral("745");
    f.pressureMax = QStringLiteral("747");
    return f;
}

} // namespace

class TestWeatherTexts : public QObject {
    Q_OBJECT

private slots:
    void signedTemperature_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero gets a blank") << "0"
                                           << " 0";
        QTest::newRow("negative unchanged") << "-3"
                                            << "-3";
        QTest::newRow("positive gets a plus") << "7"
                                              << "+7";
        QTest::newRow("minus zero unchanged") << "-0"
                                              << "-0";
        QTest::newRow("double zero is not zero") << "00"
                                                 << "+00";
        QTest::newRow("empty") << ""
                               << "+";
    }
    void signedTemperature() {
        QFETCH(QString, value);
        QFETCH(QString, text);
        QCOMPARE(kalmo::weather::signedTemperature(value), text);
    }

    void rowTextsOfAForecast() {
        const RowTexts t = rowTexts(sample(), QDate(2026, 5, 5));
        QCOMPARE(t.date, QStringLiteral("5 мая"));
        QCOMPARE(t.period, QStringLiteral("Сегодня денем"));
        QCOMPARE(t.temperature, QStringLiteral("+10.. +12"));
        QCOMPARE(t.heat, QStringLiteral("Real  -2..  0"));
        QCOMPARE(t.wind, QStringLiteral("Ветер \"ЮЗ\", 1.. 3 м/с"));
        QCOMPARE(t.humidity, QStringLiteral("Влажность 60.. 70 %"));
        QCOMPARE(t.pressure, QStringLiteral("Давление 745 - 747 мм рт. ст."));
        QCOMPARE(t.cloudiness, QStringLiteral("малооблачно"));
        QCOMPARE(t.precipitation, QString()); // code 9 has no word
    }

    // Compared with the kiosk's date, not the first forecast's: any other day is "Завтра ".
    void dayLabel_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("period");
        QTest::addColumn<QString>("label");
        const QDate today(2026, 12, 31);
        QTest::newRow("today at night") << today << 0 << "Сегодня ночью";
        QTest::newRow("tomorrow morning") << today.addDays(1) << 1 << "Завтра утром";
        QTest::newRow("yesterday is Завтра too") << today.addDays(-1) << 3 << "Завтра вечером";
        QTest::newRow("a week on") << today.addDays(7) << 2 << "Завтра денем";
    }
    void dayLabel() {
        QFETCH(QDate, date);
        QFETCH(int, period);
        QFETCH(QString, label);
        Forecast f = sample();
        f.date = date;
        f.period = period;
        QCOMPARE(rowTexts(f, QDate(2026, 12, 31)).period, label);
    }

    void wordTables() {
        QCOMPARE(monthWord(1), QStringLiteral("января"));
        QCOMPARE(monthWord(12), QStringLiteral("декабря"));
        QCOMPARE(windWord(0), QStringLiteral("северный"));
        QCOMPARE(windWord(7), QStringLiteral("СЗ"));
        QCOMPARE(conditionWord(6), conditionWord(7));
        QCOMPARE(conditionWord(10), QStringLiteral("без осадков"));
        QCOMPARE(conditionWord(11), QString());
        QCOMPARE(periodWord(4), QString());
    }

    void picturePathKeepsCodesAsWritten() {
        Forecast f = sample();
        QCOMPARE(conditionPicturePath(f), QStringLiteral("cloudiness/21.png"));
        f.cloudinessText = QStringLiteral("10");
        QCOMPARE(conditionPicturePath(f), QStringLiteral("cloudiness/210.png"));
    }

    void rowsFillThePanelAt1080() {
        const QSize panel(304, 830);
        const QList<int> tops{5, 205, 405, 605};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(rowRect(i, panel), QRect(5, tops[i], 294, 199));
        QCOMPARE(attributionTop(rowRect(3, panel)), 809);
        QCOMPARE(attributionLeft(304, 101), 152 - 50);
        QCOMPARE(pictureSlot(QSize(294, 199)), QRect(192, 3, 92, 92));
    }

    void documentAddress_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("url");
        QTest::newRow("default") << QString::fromLatin1(kDefaultInformerBase) << "27611"
                                 << "http://informer.gismeteo.ru/xml/27611.xml";
        QTest::newRow("trailing slash") << "http://127.0.0.1:8080/"
                                        << "26062"
                                        << "http://127.0.0.1:8080/xml/26062.xml";
        QTest::newRow("base with a path") << "https://host/informer"
                                          << "1"
                                          << "https://host/informer/xml/1.xml";
        QTest::newRow("code as written") << "http://host"
                                         << "27 611"
                                         << "http://host/xml/27%20611.xml";
        QTest::newRow("not http") << "file:///etc"
                                  << "27611"
                                  << "";
        QTest::newRow("empty base") << ""
                                    << "27611"
                                    << "";
    }
    void documentAddress() {
        QFETCH(QString, base);
        QFETCH(QString, code);
        QFETCH(QString, url);
        QCOMPARE(weatherDocumentUrl(base, code).toString(QUrl::FullyEncoded), url);
    }
};

QTEST_GUILESS_MAIN(TestWeatherTexts)
#include "tst_weather_texts.moc"
