#include "weather/weather_informer.h"

#include "core/log.h"
#include "weather/forecast_parser.h"
#include "weather/forecast_row.h"
#include "weather/informer_address.h"

#include <QFrame>
#include <QLabel>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QWidget>
#include <utility>

namespace kalmo::weather {

namespace {

// Honours the machine's proxy settings for this manager only.
class SystemProxies : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override {
        return systemProxyForQuery(query);
    }
};

} // namespace

WeatherInformer::WeatherInformer(QWidget *panel4, const core::Clock &clock, QObject *parent)
    : QObject(parent), m_panel(panel4), m_clock(clock),
      m_base(QString::fromLatin1(kDefaultInformerBase)) {
    m_network.setProxyFactory(new SystemProxies); // the manager owns it
    m_timeout.setParent(this); // a named child, so a test can fire it without waiting
    m_timeout.setObjectName(QStringLiteral("fetchTimeout"));
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(kDefaultTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, &WeatherInformer::onTimeout);
    m_delay.setParent(this);
    m_delay.setObjectName(QStringLiteral("fetchDelay"));
    m_delay.setSingleShot(true);
    connect(&m_delay, &QTimer::timeout, this, &WeatherInformer::fetchIfDue);
}

WeatherInformer::~WeatherInformer() {
    cancelFetch();
}

void WeatherInformer::setInformerBase(const QString &base) {
    m_base = base;
}
void WeatherInformer::setCityCode(const QString &code) {
    m_cityCode = code;
}
void WeatherInformer::setEnabled(bool weatherFlag) {
    m_enabled = weatherFlag;
}
void WeatherInformer::setTimeout(int ms) {
    m_timeout.setInterval(ms);
}

QUrl WeatherInformer::documentUrl() const {
    return weatherDocumentUrl(m_base, m_cityCode);
}

void WeatherInformer::refresh() {
    // With the weather off there is nothing to ask the service.
    if (!m_enabled || !documentUrl().isValid()) {
        m_held = false;
        m_delay.stop();
        cancelFetch();
        hidePanel();
        return;
    }
    m_held = true;
    fetchIfDue();
}

void WeatherInformer::fetchIfDue() {
    if (!m_held || m_reply)
        return; // nothing asked for, or the answer in flight comes first
    if (!m_enabled || !documentUrl().isValid()) {
        m_held = false;
        hidePanel();
        return;
    }
    const std::uint32_t since = m_clock.tickMs() - m_lastStartTick;
    if (m_everStarted && since < kMinFetchSpacingMs) {
        m_delay.start(int(kMinFetchSpacingMs - since));
        return;
    }
    m_held = false;
    m_delay.stop();
    startFetch();
}

void WeatherInformer::startFetch() {
    QNetworkRequest request(documentUrl());
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    m_body.clear();
    m_everStarted = true;
    m_lastStartTick = m_clock.tickMs();
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &WeatherInformer::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &WeatherInformer::onFinished);
    m_timeout.start();
}

void WeatherInformer::onReadyRead() {
    const qint64 declared = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    m_body += m_reply->read(kMaxBodyBytes + 1 - m_body.size());
    if (declared > kMaxBodyBytes || m_body.size() > kMaxBodyBytes) {
        cancelFetch();
        hidePanel();
        fetchIfDue();
    }
}

void WeatherInformer::onFinished() {
    QNetworkReply *reply = m_reply;
    const bool reachable = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    if (reachable) {
        onReadyRead(); // whatever is still buffered
        if (!m_reply)  // refused as too large
            return;
    }
    const QByteArray body = std::exchange(m_body, {});
    cancelFetch();
    if (!reachable) {
        hidePanel();
    } else {
        const auto forecasts = parseForecastDocument(body);
        if (!forecasts || forecasts->isEmpty())
            hidePanel();
        else
            showForecasts(*forecasts);
    }
    fetchIfDue(); // a refresh asked for meanwhile
}

void WeatherInformer::onTimeout() {
    if (!m_reply)
        return;
    cancelFetch();
    hidePanel();
    fetchIfDue();
}

void WeatherInformer::cancelFetch() {
    m_timeout.stop();
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    // A reply that finished or already reported its error must not be told so again.
    if (!reply->isFinished() && reply->error() == QNetworkReply::NoError)
        reply->abort();
    reply->deleteLater();
}

void WeatherInformer::clearPanel() {
    for (const QPointer<QWidget> &w : std::as_const(m_controls))
        delete w.data();
    m_controls.clear();
}

void WeatherInformer::showForecasts(const QList<Forecast> &forecasts) {
    clearPanel();
    if (!m_panel) {
        emit weatherShown(false);
        return;
    }
    const QDate today = m_clock.now().date();
    QRect lastRow;
    for (int i = 0; i < forecasts.size(); ++i) {
        QFrame *row = buildForecastRow(m_panel, i, forecasts[i], today, m_pictures);
        if (!row) { // a condition picture is missing: no weather at all
            hidePanel();
            return;
        }
        m_controls.append(row);
        lastRow = row->geometry();
    }
    m_controls.append(buildAttribution(m_panel, lastRow));
    m_panel->show();
    qCInfo(lcWeather).noquote() << "forecast shown:" << forecasts.size() << "rows from"
                                << documentUrl().toString();
    emit weatherShown(true);
}

void WeatherInformer::hidePanel() {
    clearPanel();
    if (m_panel)
        m_panel->hide();
    emit weatherShown(false);
}

} // namespace kalmo::weather
