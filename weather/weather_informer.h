#pragma once

#include "core/clock.h"
#include "core/program_values.h"
#include "weather/forecast.h"
#include "weather/forecast_row.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <cstdint>

class QWidget;

namespace kalmo::weather {

// Fetches the forecast document for the configured city and shows it as rows inside
// the weather panel. The fetch is asynchronous with an overall timeout, so a slow or
// silent server never freezes the screen. Any HTTP answer counts as reachable; the
// panel is shown only when the body gives at least one complete forecast, and hidden
// on every failure. The panel's geometry must be set before refresh(): rows are sized
// from it.
//
// The service is asked politely whatever the kiosk's intervals: at most one request is in
// flight and at most one starts per kMinFetchSpacingMs. A refresh asked for sooner is held
// and made once when allowed (a burst of refreshes costs one request).
class WeatherInformer : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 10000;
    static constexpr qint64 kMaxBodyBytes = 1024 * 1024;
    static constexpr std::uint32_t kMinFetchSpacingMs = 60000;

    WeatherInformer(QWidget *panel4, const core::Clock &clock, QObject *parent = nullptr);
    ~WeatherInformer() override;

    void setInformerBase(const QString &base);
    void setCityCode(const QString &code);
    void setEnabled(bool weatherFlag);
    void setTimeout(int ms);
    // Where the condition pictures are found (the base folder, then the program's data
    // folder); without it they are looked up relative to the working folder.
    void setPictureLookup(PictureLookup lookup) { m_pictures = std::move(lookup); }

    QUrl documentUrl() const;
    bool isFetching() const { return m_reply != nullptr; }
    // A refresh is waiting for the request in flight or for the minute to pass.
    bool isRefreshHeld() const { return m_held; }

public slots:
    // Asks for a fetch: it starts now when nothing is in flight and the last one started
    // a minute ago or more, otherwise as soon as both hold. The current rows stay until the
    // answer is in; with the weather off they go at once.
    void refresh();
    // Handler of the "fetchDelay" timer: starts the held refresh when it is due.
    void fetchIfDue();

signals:
    // true: the panel is visible with rows; false: the panel is hidden (no-weather layout).
    void weatherShown(bool shown);

private:
    void onReadyRead();
    void onFinished();
    void onTimeout();
    void startFetch();
    // Lets go of the reply in flight: aborted while it still runs, only released once it
    // has finished (a finished reply must not be aborted).
    void cancelFetch();
    void clearPanel();
    void showForecasts(const QList<Forecast> &forecasts);
    void hidePanel();

    PictureLookup m_pictures;
    QPointer<QWidget> m_panel;
    const core::Clock &m_clock;
    QNetworkAccessManager m_network;
    QTimer m_timeout;
    QTimer m_delay;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    QList<QPointer<QWidget>> m_controls; // rows and attribution we added to the panel
    QString m_base;
    QString m_cityCode = QString::fromLatin1(core::defaults::kCityCode);
    bool m_enabled = true;
    bool m_held = false;
    bool m_everStarted = false;
    std::uint32_t m_lastStartTick = 0;
};

} // namespace kalmo::weather
