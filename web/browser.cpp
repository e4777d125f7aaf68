#include "web/browser.h"

namespace kalmo::web {

BrowserSlot::BrowserSlot(BrowserFactory factory) : m_factory(std::move(factory)) {}

BrowserSlot::~BrowserSlot() {
    destroy();
}

Browser *BrowserSlot::create(QWidget *owner, const BrowserSpec &spec) {
    destroy();
    m_browser = m_factory(owner, spec);
    if (m_browser) {
        m_browser->show();
        m_browser->raise();
    }
    return m_browser.data();
}

void BrowserSlot::destroy() {
    if (!m_browser)
        return;
    Browser *browser = m_browser.data();
    m_browser.clear();
    // Hidden and unparented now, so a lookup by name no longer finds it; deleted later
    // because the call may come from one of the control's own signals.
    browser->hide();
    browser->setParent(nullptr);
    browser->deleteLater();
}

Browser *findBrowser(const QWidget *owner, const QString &name) {
    if (!owner)
        return nullptr;
    for (Browser *browser : owner->findChildren<Browser *>(Qt::FindDirectChildrenOnly)) {
        if (browser->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return browser;
    }
    return nullptr;
}

} // namespace kalmo::web
