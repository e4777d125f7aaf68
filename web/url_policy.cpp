#include "web/url_policy.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace kalmo::web {

namespace {

bool isWeb(const QUrl &url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// Schemes that only ever show content inside a frame of the page; the engine's own PDF
// viewer runs as a chrome-extension frame.
bool isEmbeddedOnly(const QUrl &url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("about") || scheme == QLatin1String("data") ||
           scheme == QLatin1String("blob") || scheme == QLatin1String("chrome-extension");
}

bool sameDocument(const QUrl &a, const QUrl &b) {
    return a.isValid() && b.isValid() &&
           a.adjusted(QUrl::RemoveFragment | QUrl::NormalizePathSegments) ==
               b.adjusted(QUrl::RemoveFragment | QUrl::NormalizePathSegments);
}

// "www.school.ru:8080/news" reads as a URL of scheme "www.school.ru"; a port after the
// colon shows it is a host.
bool isHostAndPort(const QString &address) {
    static const QRegularExpression hostPort(QStringLiteral("^[^:/?#]+:[0-9]+([/?#]|$)"));
    return hostPort.match(address).hasMatch();
}

} // namespace

QUrl addressToUrl(const QString &address, BrowserKind kind, const QString &baseFolder) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return QUrl();
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                          scheme == QLatin1String("file")))
        return url;
    if (kind == BrowserKind::Site) {
        // "www.school.ru" and the like; any other scheme is kept so the policy refuses it.
        if (url.isValid() && scheme.size() > 1 && !isHostAndPort(trimmed))
            return url;
        return QUrl::fromUserInput(trimmed);
    }
    if (QDir::isRelativePath(trimmed) && !baseFolder.isEmpty())
        return QUrl::fromLocalFile(QDir::cleanPath(QDir(baseFolder).absoluteFilePath(trimmed)));
    return QUrl::fromLocalFile(QFileInfo(trimmed).absoluteFilePath());
}

bool isNavigationAllowed(BrowserKind kind, const QUrl &target, bool isMainFrame,
                         const QUrl &document) {
    if (!target.isValid())
        return false;
    if (kind == BrowserKind::Site) {
        if (isWeb(target))
            return true;
        return !isMainFrame && isEmbeddedOnly(target);
    }
    if (sameDocument(target, document))
        return true;
    // Links inside a document never lead anywhere, least of all into the file system.
    if (isMainFrame)
        return false;
    return isEmbeddedOnly(target) || isWeb(target);
}

} // namespace kalmo::web
