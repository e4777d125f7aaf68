#pragma once

#include "web/browser.h"

class QWebEngineDownloadRequest;
class QWebEngineProfile;
class QWebEngineView;

namespace kalmo::web {

class KioskPage;

// The browser control on Qt WebEngine, locked down for a public kiosk. Each control has
// its own off-the-record profile, so cookies, storage and cache die with it.
class WebBrowser : public Browser {
    Q_OBJECT
public:
    WebBrowser(const BrowserSpec &spec, QWidget *owner);
    ~WebBrowser() override;

    void load(const QString &address) override;
    void back() override;
    void forward() override;
    void setBackground(const QColor &colour) override;
    QUrl url() const override;

    KioskPage *page() const { return m_page; }
    QWebEngineView *view() const { return m_view; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refuseDownload(QWebEngineDownloadRequest *download);

    BrowserKind m_kind;
    QString m_baseFolder;
    QWebEngineProfile *m_profile;
    KioskPage *m_page;
    QWebEngineView *m_view;
};

// The production factory.
Browser *createWebBrowser(QWidget *owner, const BrowserSpec &spec);

} // namespace kalmo::web
