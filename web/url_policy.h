#pragma once

#include <QString>
#include <QUrl>

namespace kalmo::web {

// What a browser control is for; decides which addresses it may follow.
enum class BrowserKind {
    // The institution's site: web addresses only.
    Site,
    // A document the administrator configured (local PDF or HTML, or one address):
    // the document itself, nothing it links to.
    Document,
};

// Turns a configured address into the URL to load. A site address without a scheme
// becomes http; for documents anything that is not an http(s) or file URL is a local
// path, a relative one taken from `baseFolder` (the kiosk's base folder, ending in '/').
QUrl addressToUrl(const QString &address, BrowserKind kind, const QString &baseFolder = {});

// Whether a navigation may go ahead. `document` is the URL the kiosk itself loaded into
// a document control; it is ignored for the site.
bool isNavigationAllowed(BrowserKind kind, const QUrl &target, bool isMainFrame,
                         const QUrl &document);

// Whether a page's request for a new window or tab may be followed in the same control.
inline bool isPopupAllowed(BrowserKind kind, const QUrl &target, const QUrl &document) {
    return isNavigationAllowed(kind, target, true, document);
}

} // namespace kalmo::web
