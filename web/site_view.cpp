#include "web/site_view.h"

#include "core/idle_clock.h"

namespace kalmo::web {

namespace {

// Enabling a timer that already runs keeps its count.
void enable(QTimer *timer) {
    if (timer && !timer->isActive())
        timer->start();
}

} // namespace

SiteView::SiteView(SiteViewWidgets widgets, core::IdleClock &idle, SiteViewSettings settings,
                   BrowserFactory factory)
    : QObject(widgets.host), m_widgets(std::move(widgets)), m_idle(idle),
      m_settings(std::move(settings)), m_browser(std::move(factory)) {
    m_idleTimer.setObjectName(QStringLiteral("Timer8"));
    m_idleTimer.setInterval(1000);
    connect(&m_idleTimer, &QTimer::timeout, this, &SiteView::idleTick);
    m_idleTimer.start();
}

void SiteView::open() {
    if (m_widgets.slideshowTimer)
        m_widgets.slideshowTimer->stop();
    for (QWidget *w : m_widgets.mainControls)
        w->hide();

    const QWidget *closeButton = m_widgets.closeButton;
    const int top = closeButton->y() + closeButton->height() + 10;
    BrowserSpec spec;
    spec.kind = BrowserKind::Site;
    spec.geometry = QRect(0, top, m_widgets.host->width(), m_widgets.host->height() - top);
    spec.cacheOff = true;
    Browser *browser = m_browser.create(m_widgets.host, spec);
    if (browser)
        browser->load(m_settings.siteAddress());

    setViewControlsVisible(true);
    enable(&m_idleTimer);
    emit opened();
}

void SiteView::close() {
    setViewControlsVisible(false);
    m_browser.destroy();
    for (QWidget *w : m_widgets.mainControls)
        w->show();
    enable(m_widgets.slideshowTimer);
    emit closed();
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

void SiteView::setViewControlsVisible(bool visible) {
    for (QWidget *w : {m_widgets.closeButton, m_widgets.backButton, m_widgets.homeButton,
                       m_widgets.forwardButton}) {
        if (w)
            w->setVisible(visible);
    }
}

} // namespace kalmo::web
