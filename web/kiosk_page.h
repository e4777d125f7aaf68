#pragma once

#include "web/url_policy.h"

#include <QWebEnginePage>

namespace kalmo::web {

// A page that only goes where its kind allows: no file dialogs, no new windows (a link
// meant for one opens here when allowed), no permissions, a crashed renderer reloads.
class KioskPage : public QWebEnginePage {
    Q_OBJECT
public:
    KioskPage(BrowserKind kind, QWebEngineProfile *profile, QObject *parent = nullptr);

    // The document a Document page may show; set before loading it.
    void setDocument(const QUrl &document) { m_document = document; }
    QUrl document() const { return m_document; }

signals:
    void navigationRefused(const QUrl &url);
    void consoleMessage(const QString &message);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList &oldFiles,
                            const QStringList &acceptedMimeTypes) override;
    // A page's dialog would run an event loop of its own, which the kiosk's timers could end
    // by destroying the page under it: alerts are dropped, questions answered "no" (leaving
    // the page is always allowed).
    void javaScriptAlert(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &message,
                          const QString &defaultValue, QString *result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
                                  int lineNumber, const QString &sourceID) override;

private:
    void followPopup(const QUrl &url);
    void showUnavailable(const QUrl &url);

    BrowserKind m_kind;
    // The kiosk's own page for an unreachable address is about to load (a data: URL).
    bool m_loadingOwnPage = false;
    QUrl m_document;
    int m_crashReloads = 0;
};

} // namespace kalmo::web
