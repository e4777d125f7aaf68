#include "schedule/unavailable_page.h"

#include "core/log.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace kalmo::schedule {

bool isShowableDocument(const QString &value) {
    const QString trimmed = value.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        return !url.host().isEmpty();
    const QString local =
        url.isValid() && scheme == QLatin1String("file") ? url.toLocalFile() : trimmed;
    const QFileInfo info(local);
    return info.isFile() && info.isReadable();
}

QString UnavailablePage::path() {
    if (!m_path.isEmpty())
        return m_path;
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid()) {
        qCWarning(kalmo::lcSchedule)
            << "cannot create a folder for the schedule placeholder page:" << m_dir->errorString();
        return {};
    }
    const QString path = m_dir->filePath(QStringLiteral("raspisanie-net.html"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(kalmo::lcSchedule) << "cannot write" << path << file.errorString();
        return {};
    }
    file.write(QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                              "<title>Расписание недоступно</title></head>"
                              "<body style=\"background:#000;color:#fff;margin:0;padding-top:15%;"
                              "text-align:center;font:48px 'Times New Roman',serif\">"
                              "<p>Расписание этой группы пока недоступно.</p></body></html>\n")
                   .toUtf8());
    m_path = path;
    return m_path;
}

} // namespace kalmo::schedule
