#include "web/unavailable_page.h"

namespace kalmo::web {

namespace {

// Chromium's net::ERR_ABORTED: a newer navigation, a refused one, or a download took over.
constexpr int kAborted = -3;

} // namespace

bool isUnreachable(QWebEngineLoadingInfo::ErrorDomain domain, int errorCode) {
    switch (domain) {
    case QWebEngineLoadingInfo::ConnectionErrorDomain:
    case QWebEngineLoadingInfo::DnsErrorDomain:
    case QWebEngineLoadingInfo::CertificateErrorDomain:
        return true;
    case QWebEngineLoadingInfo::InternalErrorDomain:
        return errorCode != kAborted;
    default:
        return false;
    }
}

QString unavailablePageHtml(bool site, const QColor &background, const QColor &text) {
    const QString title =
        site ? QStringLiteral("Сайт сейчас недоступен") : QStringLiteral("Документ недоступен");
    const QString hint = site ? QStringLiteral("Попробуйте открыть его позже.")
                              : QStringLiteral("Попробуйте открыть его позже или обратитесь к "
                                               "администратору.");
    return QStringLiteral(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title><style>"
               "html,body{margin:0;height:100%;background:%3;color:%4;"
               "font-family:'Times New Roman',serif;user-select:none}"
               "body{display:flex;flex-direction:column;align-items:center;"
               "justify-content:center}"
               "h1{font-size:64px;font-weight:bold;margin:0 0 24px}p{font-size:32px;margin:0}"
               "</style></head><body><h1>%1</h1><p>%2</p></body></html>")
        .arg(title, hint, background.name(), text.name());
}

} // namespace kalmo::web
