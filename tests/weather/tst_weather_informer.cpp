#include "weather/weather_informer.h"

#include "core/clock.h"

#include "tests/support/http_server.h"
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <memory>

using namespace kalmo;
using namespace kalmo::weather;

namespace {

using FakeInformer = kalmo::testing::HttpServer;

QByteArray fixture() {
    QFile f(QStringLiteral(KALMO_TEST_DATA "/weather/forecast.xml"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture missing");
    return f.readAll();
}

template <typename T> T *child(QWidget *panel, const QString &name) {
    return panel->findChild<T *>(name);
}

QString text(QWidget *panel, const QString &name) {
    const auto *label = child<QLabel>(panel, name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
}

int bottom(QWidget *panel, const QString &name) {
    const auto *w = child<QWidget>(panel, name);
    return w ? w->geometry().bottom() + 1 : -1;
}

} // namespace

class TestWeatherInformer : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_base;
    std::unique_ptr<QWidget> m_window;
    QWidget *m_panel = nullptr;
    core::ManualClock m_clock{QDateTime(QDate(2026, 5, 5), QTime(10, 0))};
    std::unique_ptr<FakeInformer> m_server;
    std::unique_ptr<WeatherInformer> m_informer;

    int rowCount() const {
        return int(m_panel
                       ->findChildren<QWidget *>(QRegularExpression("^Mypanel\\d+$"),
                                                 Qt::FindDirectChildrenOnly)
                       .size());
    }

    // Fetches (a minute after the last one) and waits for the panel to be shown or hidden.
    bool fetch() {
        m_clock.advanceMs(WeatherInformer::kMinFetchSpacingMs);
        QSignalSpy shown(m_informer.get(), &WeatherInformer::weatherShown);
        m_informer->refresh();
        if (shown.isEmpty() && !shown.wait(5000))
            qFatal("no answer from the informer");
        if (shown.size() != 1)
            qFatal("weatherShown emitted %d times", int(shown.size()));
        return shown.at(0).at(0).toBool();
    }

    void verifyHidden() {
        QVERIFY(!m_panel->isVisibleTo(m_window.get()));
        QCOMPARE(rowCount(), 0);
        QVERIFY(!child<QLabel>(m_panel, "labelweekday0"));
    }

private slots:
    void init() {
        m_base = std::make_unique<QTemporaryDir>();
        QDir().mkpath(m_base->filePath("cloudiness"));
        const QDir assets(QStringLiteral(KALMO_ASSETS "/cloudiness"));
        for (const QString &name : assets.entryList({"*.png"}, QDir::Files))
            QFile::copy(assets.filePath(name), m_base->filePath("cloudiness/" + name));

        m_window = std::make_unique<QWidget>();
        m_window->resize(1920, 1080);
        m_panel = new QWidget(m_window.get());
        m_panel->setObjectName("Panel4");
        m_panel->setGeometry(6, 169, 304, 830);
        m_window->show();

        m_server = std::make_unique<FakeInformer>();
        m_server->respond(200, fixture());
        m_informer = std::make_unique<WeatherInformer>(m_panel, m_clock);
        m_informer->setInformerBase(m_server->base());
        m_informer->setCityCode("27611");
        m_informer->setPictureLookup(
            [base = m_base->path()](const QString &relative) { return base + '/' + relative; });
    }
    void cleanup() {
        m_informer.reset();
        m_window.reset();
        m_server.reset();
        m_base.reset();
    }

    void showsFourRowsLaidOutFromThePanel() {
        QVERIFY(fetch());
        QCOMPARE(m_server->requests, QStringList{"/xml/27611.xml"});
        QVERIFY(m_panel->isVisibleTo(m_window.get()));
        QCOMPARE(rowCount(), 4);
        const QList<int> tops{5, 205, 405, 605};
        for (int i = 0; i < 4; ++i) {
            const auto *row = child<QWidget>(m_panel, QStringLiteral("Mypanel%1").arg(i));
            QVERIFY(row);
            QCOMPARE(row->geometry(), QRect(5, tops[i], 294, 199));
        }
        const auto *caption = child<QLabel>(m_panel, "labelweekday0");
        QVERIFY(caption);
        QCOMPARE(caption->y(), 809);
        QCOMPARE(caption->x(), 152 - caption->width() / 2);
        QCOMPARE(caption->font().pointSize(), 12);

        // Row 0: stacked texts on the left, the picture and its words on the right.
        QCOMPARE(text(m_panel, "Labeldate0"), QStringLiteral("5 мая"));
        QCOMPARE(text(m_panel, "Labeltod0"), QStringLiteral("Сегодня денем"));
        QCOMPARE(text(m_panel, "Labeltemperature0"), QStringLiteral("+10.. +12"));
        QCOMPARE(text(m_panel, "Labelheat0"), QStringLiteral("Real  +8.. +10"));
        QCOMPARE(text(m_panel, "Labelwind0"), QStringLiteral("Ветер \"северный\", 1.. 3 м/с"));
        QCOMPARE(text(m_panel, "labelrelwet0"), QStringLiteral("Влажность 60.. 70 %"));
        QCOMPARE(text(m_panel, "labelpressure0"), QStringLiteral("Давление 745 - 747 мм рт. ст."));
        QCOMPARE(text(m_panel, "labelcloudiness0"), QStringLiteral("малооблачно"));
        QCOMPARE(text(m_panel, "labelprecipitation0"), QStringLiteral("без осадков"));
        QCOMPARE(child<QWidget>(m_panel, "Labeldate0")->pos(), QPoint(10, 5));
        const QStringList stack{"Labeldate0", "Labeltod0",    "Labeltemperature0", "Labelheat0",
                                "Labelwind0", "labelrelwet0", "labelpressure0"};
        for (int i = 1; i < stack.size(); ++i) {
            const auto *label = child<QLabel>(m_panel, stack[i]);
            QCOMPARE(label->pos(), QPoint(10, bottom(m_panel, stack[i - 1])));
        }
        QCOMPARE(child<QLabel>(m_panel, "Labeldate0")->font().pointSize(), 20);
        QCOMPARE(child<QLabel>(m_panel, "Labeltemperature0")->font().pointSize(), 25);
        QCOMPARE(child<QLabel>(m_panel, "Labelwind0")->font().family(), "Times New Roman");
        const auto *picture = child<QLabel>(m_panel, "imagecloudiness0");
        QVERIFY(picture && !picture->pixmap().isNull());
        QCOMPARE(picture->geometry(), QRect(192, 3, 92, 92));
        QCOMPARE(child<QWidget>(m_panel, "labelcloudiness0")->pos(), QPoint(212, 95));
        QCOMPARE(child<QWidget>(m_panel, "labelprecipitation0")->pos(),
                 QPoint(212, bottom(m_panel, "labelcloudiness0")));

        // Later rows: evening of today, then tomorrow; code 9 shows no word.
        QCOMPARE(text(m_panel, "Labeltod1"), QStringLiteral("Сегодня вечером"));
        QCOMPARE(text(m_panel, "Labeltemperature1"), QStringLiteral(" 0.. +7"));
        QCOMPARE(text(m_panel, "Labeltod2"), QStringLiteral("Завтра ночью"));
        QCOMPARE(text(m_panel, "Labeldate2"), QStringLiteral("6 мая"));
        QCOMPARE(text(m_panel, "Labeltemperature2"), QStringLiteral("-3..  0"));
        QCOMPARE(text(m_panel, "labelprecipitation2"), QString());
        QCOMPARE(text(m_panel, "Labeltod3"), QStringLiteral("Завтра утром"));
    }

    void refreshRebuildsInsteadOfAdding() {
        QVERIFY(fetch());
        m_clock.setNow(QDateTime(QDate(2026, 5, 6), QTime(1, 0)));
        QVERIFY(fetch());
        QCOMPARE(rowCount(), 4);
        QCOMPARE(m_panel->findChildren<QLabel *>("labelweekday0").size(), 1);
        QCOMPARE(text(m_panel, "Labeltod2"), QStringLiteral("Сегодня ночью"));
    }

    void anyHttpStatusIsReachable() {
        m_server->respond(404, fixture());
        QVERIFY(fetch());
        QCOMPARE(rowCount(), 4);
    }

    void failuresHideThePanel_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QByteArray noTown = fixture();
        noTown.replace("TOWN", "CITY");
        QByteArray badCode = fixture();
        badCode.replace("direction=\"7\"", "direction=\"NW\"");
        QByteArray badDate = fixture();
        badDate.replace("day=\"06\" month=\"05\"", "day=\"31\" month=\"04\"");
        QTest::newRow("error status, error page") << 500 << QByteArray("<h1>Error</h1><p>");
        QTest::newRow("malformed body") << 200 << fixture().left(700);
        QTest::newRow("no TOWN") << 200 << noTown;
        QTest::newRow("code not a number in a later row") << 200 << badCode;
        QTest::newRow("invalid date") << 200 << badDate;
        QTest::newRow("no forecasts")
            << 200 << QByteArray("<MMWEATHER><REPORT><TOWN/></REPORT></MMWEATHER>");
        QTest::newRow("body over 1 MiB")
            << 200
            << fixture().replace("<MMWEATHER>",
                                 "<MMWEATHER><!--" + QByteArray(1024 * 1024, 'x') + "-->");
    }
    void failuresHideThePanel() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QVERIFY(fetch()); // a good forecast first: failure must clear it
        m_server->respond(status, body);
        QVERIFY(!fetch());
        verifyHidden();
    }

    void unreachableServerHidesThePanel() {
        QVERIFY(fetch());
        m_server.reset(); // nobody listens on that port any more
        QVERIFY(!fetch());
        verifyHidden();
    }

    void missingPictureHidesThePanel_data() {
        QTest::addColumn<QString>("remove");
        QTest::newRow("picture of the last row") << "cloudiness/10.png";
        QTest::newRow("whole folder") << "cloudiness";
    }
    void missingPictureHidesThePanel() {
        QFETCH(QString, remove);
        if (remove.endsWith(".png"))
            QVERIFY(QFile::remove(m_base->filePath(remove)));
        else
            QVERIFY(QDir(m_base->filePath(remove)).removeRecursively());
        QVERIFY(!fetch());
        verifyHidden();
    }

    void silentServerTimesOutWithoutFreezing() {
        QVERIFY(fetch()); // a good forecast first: the timeout must clear it
        m_server->beSilent();
        auto *timeout = m_informer->findChild<QTimer *>("fetchTimeout");
        QVERIFY(timeout);
        QCOMPARE(timeout->interval(), WeatherInformer::kDefaultTimeoutMs);
        QSignalSpy shown(m_informer.get(), &WeatherInformer::weatherShown);
        m_clock.advanceMs(WeatherInformer::kMinFetchSpacingMs);
        m_informer->refresh();
        QVERIFY(m_informer->isFetching()); // refresh() returned at once
        QVERIFY(timeout->isActive());
        QTRY_COMPARE(m_server->requests.size(), 2); // the request is out, unanswered
        QVERIFY(shown.isEmpty());

        QVERIFY(QMetaObject::invokeMethod(timeout, "timeout"));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).at(0).toBool(), false);
        QVERIFY(!m_informer->isFetching());
        QVERIFY(!timeout->isActive());
        verifyHidden();
    }

    void atMostOneRequestInFlightAndOneAMinute() {
        QVERIFY(fetch());
        auto *delay = m_informer->findChild<QTimer *>("fetchDelay");
        QVERIFY(delay);
        // A burst of refreshes right after a fetch: nothing goes out, one is held.
        QSignalSpy shown(m_informer.get(), &WeatherInformer::weatherShown);
        for (int i = 0; i < 50; ++i)
            m_informer->refresh();
        QVERIFY(!m_informer->isFetching());
        QVERIFY(m_informer->isRefreshHeld());
        QVERIFY(delay->isActive());
        QCOMPARE(delay->interval(), int(WeatherInformer::kMinFetchSpacingMs));
        m_clock.advanceMs(59000);
        m_informer->fetchIfDue(); // a timer that fired early waits on for the rest
        QVERIFY(!m_informer->isFetching());
        QCOMPARE(delay->interval(), 1000);
        m_clock.advanceMs(1000);
        m_informer->fetchIfDue();
        QVERIFY(m_informer->isFetching());
        QVERIFY(!m_informer->isRefreshHeld());
        QVERIFY(shown.wait(5000));
        QCOMPARE(m_server->requests.size(), 2);

        // While a request is in flight, refreshes wait for its answer and then for the minute.
        m_server->beSilent();
        m_clock.advanceMs(WeatherInformer::kMinFetchSpacingMs);
        m_informer->refresh();
        QTRY_COMPARE(m_server->requests.size(), 3);
        m_clock.advanceMs(WeatherInformer::kMinFetchSpacingMs);
        for (int i = 0; i < 50; ++i)
            m_informer->refresh();
        QVERIFY(m_informer->isRefreshHeld());
        QVERIFY(!delay->isActive()); // the answer comes first
        m_server->respond(200, fixture());
        QVERIFY(
            QMetaObject::invokeMethod(m_informer->findChild<QTimer *>("fetchTimeout"), "timeout"));
        // The minute since the last start has passed: the held refresh goes out at once.
        QVERIFY(m_informer->isFetching());
        QTRY_COMPARE(m_server->requests.size(), 4);
        QTRY_VERIFY(!m_informer->isFetching());
        QVERIFY(!m_informer->isRefreshHeld());
        QCOMPARE(rowCount(), 4);
    }

    void weatherSwitchedOffHidesAtOnce() {
        QVERIFY(fetch());
        QSignalSpy shown(m_informer.get(), &WeatherInformer::weatherShown);
        m_informer->setEnabled(false);
        m_informer->refresh();
        QCOMPARE(shown.size(), 1); // no network round trip
        QCOMPARE(shown.at(0).at(0).toBool(), false);
        verifyHidden();
        QCOMPARE(m_server->requests.size(), 1);

        m_informer->setEnabled(true);
        QVERIFY(fetch());
        QCOMPARE(rowCount(), 4);
    }

    void floodOfRefreshesAgainstARefusedInformer() {
        QTest::failOnWarning(QRegularExpression("must only be called once"));
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close(); // connections to it are refused
        m_informer->setInformerBase(QStringLiteral("http://127.0.0.1:%1").arg(port));
        for (int i = 0; i < 300; ++i) {
            m_informer->refresh();
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(!m_informer->isFetching());
    }

    void defaultInformerAddress() {
        WeatherInformer informer(m_panel, m_clock);
        QCOMPARE(informer.documentUrl(), QUrl("http://informer.gismeteo.ru/xml/27611.xml"));
    }
};

QTEST_MAIN(TestWeatherInformer)
#include "tst_weather_informer.moc"
