#include "web/web_browser.h"

#include "web/input_guard.h"
#include "web/kiosk_page.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace kalmo::web {

namespace {

// How long after a close the engine has let go of the page's memory, so trimming pays.
constexpr int kTrimAfterCloseMs = 1000;

// Nothing can be dragged out of a page: no text, links or pictures carried elsewhere.
const char *const kNoDragScript = R"(
document.addEventListener('dragstart', function (e) { e.preventDefault(); }, true);
)";

void lockDown(QWebEngineSettings *s, BrowserKind kind) {
    using S = QWebEngineSettings;
    s->setAttribute(S::JavascriptCanOpenWindows, false);
    s->setAttribute(S::JavascriptCanAccessClipboard, false);
    s->setAttribute(S::JavascriptCanPaste, false);
    s->setAttribute(S::NavigateOnDropEnabled, false);
    s->setAttribute(S::FullScreenSupportEnabled, false);
    s->setAttribute(S::ScreenCaptureEnabled, false);
    s->setAttribute(S::WebRTCPublicInterfacesOnly, true);
    s->setAttribute(S::PluginsEnabled, true);
    s->setAttribute(S::PdfViewerEnabled, true);
    s->setAttribute(S::LocalContentCanAccessRemoteUrls, false);
    // A local HTML document may show the pictures beside it; web pages get no file access.
    s->setAttribute(S::LocalContentCanAccessFileUrls, kind == BrowserKind::Document);
    s->setUnknownUrlSchemePolicy(S::DisallowUnknownUrlSchemes);
    // An unreachable address gets the kiosk's own page (KioskPage), not the engine's.
    s->setAttribute(S::ErrorPageEnabled, false);
}

} // namespace

WebBrowser::WebBrowser(const BrowserSpec &spec, QWidget *owner)
    : Browser(owner), m_kind(spec.kind), m_baseFolder(spec.baseFolder),
      m_profile(new QWebEngineProfile(this)), m_page(new KioskPage(spec.kind, m_profile, this)),
      m_view(new QWebEngineView(this)) {
    setObjectName(spec.name);
    setGeometry(spec.geometry);

    m_profile->setHttpCacheType(spec.cacheOff ? QWebEngineProfile::NoCache
                                              : QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_profile->setSpellCheckEnabled(false);
    connect(m_profile, &QWebEngineProfile::downloadRequested, this, &WebBrowser::refuseDownload);

    QWebEngineScript noDrag;
    noDrag.setName(QStringLiteral("kalmo-no-drag"));
    noDrag.setSourceCode(QString::fromLatin1(kNoDragScript));
    noDrag.setInjectionPoint(QWebEngineScript::DocumentCreation);
    noDrag.setWorldId(QWebEngineScript::ApplicationWorld);
    noDrag.setRunsOnSubFrames(true);
    m_profile->scripts()->insert(noDrag);

    lockDown(m_page->settings(), spec.kind);
    if (spec.background.isValid())
        setBackground(spec.background);

    m_view->setPage(m_page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->setAcceptDrops(false);
    m_view->setGeometry(rect());
    new InputGuard(m_view);

    connect(m_page, &QWebEnginePage::loadFinished, this, &Browser::loadFinished);
    connect(m_page, &KioskPage::navigationRefused, this, &Browser::navigationRefused);
}

WebBrowser::~WebBrowser() {
    // The page must go before its profile, and the view before the page.
    delete m_view;
    delete m_page;
    delete m_profile;
#ifdef __GLIBC__
    // A closed page leaves megabytes of freed heap behind, much of it freed by the engine
    // only after this; hand it back once that is done, so that a kiosk opening and closing
    // views all day keeps a flat footprint.
    QTimer::singleShot(kTrimAfterCloseMs, QCoreApplication::instance(), [] { malloc_trim(0); });
#endif
}

void WebBrowser::load(const QString &address) {
    const QUrl url = addressToUrl(address, m_kind, m_baseFolder);
    if (m_kind == BrowserKind::Document)
        m_page->setDocument(url);
    // Checked here as well: the engine turns some addresses (view-source:) into a
    // navigation to another URL, which the page's own check would let through.
    if (!isNavigationAllowed(m_kind, url, true, m_page->document())) {
        emit navigationRefused(url);
        return;
    }
    m_page->load(url);
}

void WebBrowser::back() {
    m_page->triggerAction(QWebEnginePage::Back);
}

void WebBrowser::forward() {
    m_page->triggerAction(QWebEnginePage::Forward);
}

void WebBrowser::setBackground(const QColor &colour) {
    m_page->setBackgroundColor(colour);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    setAutoFillBackground(true);
}

QUrl WebBrowser::url() const {
    return m_page->url();
}

void WebBrowser::resizeEvent(QResizeEvent *event) {
    Browser::resizeEvent(event);
    m_view->setGeometry(rect());
}

void WebBrowser::refuseDownload(QWebEngineDownloadRequest *download) {
    const QUrl url = download->url();
    download->cancel();
    emit downloadRefused(url);
}

Browser *createWebBrowser(QWidget *owner, const BrowserSpec &spec) {
    return new WebBrowser(spec, owner);
}

} // namespace kalmo::web
