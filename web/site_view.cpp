#include "web/site_view.h"

#include "core/idle_clock.h"
#include "core/log.h"

namespace kalmo::web {

namespace {

constexpr int kIdleCheckMs = 1000;

} // namespace

SiteView::SiteView(QWidget *host, core::IdleClock &idle, SiteViewSettings settings,
                   BrowserFactory factory)
    : QObject(host), m_host(host), m_idle(idle), m_settings(std::move(settings)),
      m_browser(std::move(factory)) {
    m_idleTimer.setObjectName(QStringLiteral("Timer8"));
    m_idleTimer.setInterval(kIdleCheckMs);
    connect(&m_idleTimer, &QTimer::timeout, this, &SiteView::idleTick);
    m_idleTimer.start();
}

SiteView::~SiteView() {
    m_browser.destroy();
    delete m_window.data();
}

void SiteView::open() {
    m_browser.destroy();
    destroyWindow();

    QRect area = m_area;
    if (area.isEmpty())
        area = m_host->rect();
    // Owned by the host, so it goes with it.
    auto *window = new QWidget(m_host);
    window->setObjectName(QStringLiteral("SiteWindow"));
    window->setAccessibleName(QStringLiteral("Сайт"));
    window->setGeometry(area);
    m_window = window;

    BrowserSpec spec;
    spec.kind = BrowserKind::Site;
    spec.geometry = QRect(QPoint(0, 0), area.size());
    spec.cacheOff = true;
    if (Browser *browser = m_browser.create(window, spec))
        browser->load(m_settings.siteAddress());
    else
        qCWarning(kalmo::lcWeb) << "the site view got no browser control";
    window->show();
    window->raise();

    if (!m_idleTimer.isActive())
        m_idleTimer.start();
    emit opened();
}

void SiteView::close() {
    m_browser.destroy();
    destroyWindow();
    emit closed();
}

void SiteView::destroyWindow() {
    if (!m_window)
        return;
    QWidget *window = m_window.data();
    m_window.clear();
    // Off the screen now; freed later, since the call may come from inside the page's input.
    window->hide();
    window->deleteLater();
}

void SiteView::back() {
    if (Browser *b = m_browser.browser())
        b->back();
}

void SiteView::home() {
    if (Browser *b = m_browser.browser())
        b->load(m_settings.siteAddress());
}

void SiteView::forward() {
    if (Browser *b = m_browser.browser())
        b->forward();
}

void SiteView::idleTick() {
    const int timeout = m_settings.pageTimeout();
    if (timeout > 0 && m_idle.idleSeconds() < static_cast<std::uint32_t>(timeout))
        return;
    close();
    m_idleTimer.stop();
}

} // namespace kalmo::web
