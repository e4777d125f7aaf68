#include "fleet/notice.h"

#include "core/log.h"
#include "core/text_codec.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace kalmo::fleet {

QString noticeChecksum(const QString &title, const QString &text) {
    const QByteArray hash =
        QCryptographicHash::hash((title + u'\n' + text).toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex().left(8));
}

Notice noticeFromBytes(const QByteArray &bytes) {
    QString all = core::decodeText(bytes).text;
    all.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    all.replace(u'\r', u'\n');
    all = all.trimmed();
    Notice notice;
    if (all.isEmpty())
        return notice;
    const qsizetype end = all.indexOf(u'\n');
    notice.title = (end < 0 ? all : all.left(end)).trimmed();
    notice.text = end < 0 ? QString() : all.mid(end + 1).trimmed();
    notice.shown = true;
    notice.checksum = noticeChecksum(notice.title, notice.text);
    return notice;
}

Notice unreadableNotice(const QString &fileName) {
    Notice notice;
    notice.shown = true;
    notice.title = fileName;
    notice.text = QStringLiteral("не удалось прочитать");
    notice.checksum = noticeChecksum(notice.title, notice.text);
    return notice;
}

Notice readNotice(const QString &path) {
    QFile file(path);
    if (!file.exists())
        return {};
    const QString name = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcFleet).noquote() << "cannot read the notice" << path << file.errorString();
        return unreadableNotice(name);
    }
    // Read one byte past the limit instead of trusting the size a share reports.
    const QByteArray bytes = file.read(kNoticeLimitBytes + 1);
    if (bytes.size() > kNoticeLimitBytes) {
        qCWarning(lcFleet).noquote()
            << "the notice" << path << "is over" << kNoticeLimitBytes << "bytes; not read";
        return unreadableNotice(name);
    }
    if (file.error() != QFileDevice::NoError) {
        qCWarning(lcFleet).noquote() << "cannot read the notice" << path << file.errorString();
        return unreadableNotice(name);
    }
    return noticeFromBytes(bytes);
}

} // namespace kalmo::fleet
