#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <memory>

namespace kalmo::photo {

// Decodes the viewer's pictures away from the GUI thread: a page of thumbnails at a time,
// whose requests are cancelled when the visitor pages on, and the one photo of the full
// view, which goes ahead of the thumbnails.
class PhotoDecoder : public QObject {
    Q_OBJECT
public:
    explicit PhotoDecoder(QObject *parent = nullptr);
    ~PhotoDecoder() override; // waits for the decodes running now, drops the rest

    // Decodes paths[slot] for every slot at `size`; the page before is cancelled. A path
    // that fills several targets is decoded once. Empty paths are left out.
    void requestPage(const QStringList &paths, QSize size);
    void cancelPage();
    // Thumbnails of the current page not delivered yet.
    int pendingThumbnails() const { return m_pending; }

    // Decodes one photo to fit `bounds`; an earlier full-view request is superseded.
    void requestFullView(const QString &path, QSize bounds);
    void cancelFullView();

    // Decode on the calling thread instead (tests).
    void setSynchronous(bool on) { m_synchronous = on; }

signals:
    // `image` is null when the file could not be decoded.
    void thumbnailDecoded(int slot, const QImage &image);
    // The last thumbnail of the current page has arrived (at once for a page without photos).
    void pageDecoded();
    void fullViewDecoded(const QString &path, const QImage &image);

private:
    using Token = std::shared_ptr<std::atomic<bool>>;

    void deliverThumbnail(quint64 generation, const QList<int> &targets, const QImage &image);
    void deliverFullView(quint64 generation, const QString &path, const QImage &image);

    QThreadPool m_pool;
    bool m_synchronous = false;
    quint64 m_pageGeneration = 0, m_fullGeneration = 0;
    Token m_pageToken, m_fullToken;
    int m_pending = 0;
};

} // namespace kalmo::photo
