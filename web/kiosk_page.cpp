#include "web/kiosk_page.h"

#include "core/log.h"
#include "core/theme.h"
#include "web/unavailable_page.h"

#include <QPointer>
#include <QTimer>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>

namespace kalmo::web {

KioskPage::KioskPage(BrowserKind kind, QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent), m_kind(kind) {
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest &request) { followPopup(request.requestedUrl()); });
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl &origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok)
            m_crashReloads = 0;
    });
    connect(this, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
            return;
        if (info.url().scheme() == QLatin1String("data"))
            m_loadingOwnPage = false;
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
            isUnreachable(info.errorDomain(), info.errorCode())) {
            qCWarning(kalmo::lcWeb).nospace()
                << "cannot load " << info.url().toDisplayString() << ": " << info.errorString();
            showUnavailable(info.url());
        }
    });
    connect(this, &QWebEnginePage::renderProcessTerminated, this,
            [this](RenderProcessTerminationStatus status, int) {
                // A page that kills its renderer every time gets three tries, not a loop.
                if (status == NormalTerminationStatus || m_crashReloads >= 3)
                    return;
                ++m_crashReloads;
                // Reloading from inside the notification is not allowed; a grey rectangle
                // on a public screen is worse than one more try.
                QPointer<KioskPage> self(this);
                QTimer::singleShot(0, this, [self] {
                    if (self)
                        self->triggerAction(Reload);
                });
            });
}

bool KioskPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) {
    if (m_loadingOwnPage && isMainFrame && url.scheme() == QLatin1String("data"))
        return true;
    if (isNavigationAllowed(m_kind, url, isMainFrame, m_document))
        return true;
    emit navigationRefused(url);
    return false;
}

void KioskPage::showUnavailable(const QUrl &url) {
    const bool site = url.scheme() != QLatin1String("file");
    m_loadingOwnPage = true;
    // Not from inside the engine's notification.
    QPointer<KioskPage> self(this);
    const QString html =
        unavailablePageHtml(site, core::Themes::windowColour(), core::Themes::textColour());
    QTimer::singleShot(0, this, [self, html] {
        if (self)
            self->setHtml(html);
    });
}

QWebEnginePage *KioskPage::createWindow(WebWindowType) {
    // Never a second window; followPopup has already taken the address.
    return nullptr;
}

void KioskPage::followPopup(const QUrl &url) {
    if (!isPopupAllowed(m_kind, url, m_document)) {
        emit navigationRefused(url);
        return;
    }
    // Not from inside the engine's callback.
    QPointer<KioskPage> self(this);
    QTimer::singleShot(0, this, [self, url] {
        if (self)
            self->load(url);
    });
}

QStringList KioskPage::chooseFiles(FileSelectionMode, const QStringList &, const QStringList &) {
    return {};
}

void KioskPage::javaScriptAlert(const QUrl &, const QString &) {}

bool KioskPage::javaScriptConfirm(const QUrl &, const QString &) {
    return false;
}

bool KioskPage::javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *) {
    return false;
}

void KioskPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message, int,
                                         const QString &) {
    emit consoleMessage(message);
}

} // namespace kalmo::web
