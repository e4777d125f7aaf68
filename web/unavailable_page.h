#pragma once

#include <QColor>
#include <QString>
#include <QWebEngineLoadingInfo>

namespace kalmo::web {

// Whether a failed load means the address cannot be reached now (no connection, no such
// host, a refused certificate, a missing file), as opposed to a load the kiosk or a newer
// navigation stopped, or a page the server itself answered with.
bool isUnreachable(QWebEngineLoadingInfo::ErrorDomain domain, int errorCode);

// The plain page shown instead of an empty white one, in the kiosk's own colours. `site`
// picks the wording: the site, or a document.
QString unavailablePageHtml(bool site, const QColor &background, const QColor &text);

} // namespace kalmo::web
