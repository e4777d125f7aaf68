#include "weather/informer_address.h"

namespace kalmo::weather {

QUrl weatherDocumentUrl(const QString &informerBase, const QString &cityCode) {
    QString base = informerBase.trimmed();
    while (base.endsWith(u'/'))
        base.chop(1);
    const QUrl url(base + QStringLiteral("/xml/") + cityCode + QStringLiteral(".xml"));
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty())
        return {};
    return url;
}

} // namespace kalmo::weather
