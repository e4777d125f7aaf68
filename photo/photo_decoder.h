#pragma once

#include "media/background_jobs.h"
#include "media/folder_listing.h"
#include "media/photo_decode.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <memory>

namespace kalmo::photo {

// The viewer's file system work, away from the GUI thread: a page of thumbnails at a time,
// whose requests are cancelled when the visitor pages on, the one photo of the full view,
// which goes ahead of the thumbnails, and the folder's listing and check, which answer
// within a time limit (a share that hangs must not freeze the viewer).
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

    static constexpr std::chrono::seconds kFolderTimeLimit{5};
    // The folder's photos; nullopt when the folder gave no answer in time.
    void listFolder(const QString &folder,
                    std::function<void(std::optional<media::FolderListing>)> done);
    // Whether the folder is there; nullopt when it gave no answer in time.
    void checkFolder(const QString &folder, std::function<void(std::optional<bool>)> done);

    // Decode and list on the calling thread instead (tests).
    void setSynchronous(bool on) {
        m_synchronous = on;
        m_folderJobs.setSynchronous(on);
    }
    media::BackgroundJobs &folderJobs() { return m_folderJobs; }

signals:
    // `image` is null when the file could not be decoded.
    void thumbnailDecoded(int slot, const QImage &image);
    // The last thumbnail of the current page has arrived (at once for a page without photos).
    void pageDecoded();
    void fullViewDecoded(const QString &path, const QImage &image,
                         kalmo::media::DecodedPhoto::Status status);

private:
    using Token = std::shared_ptr<std::atomic<bool>>;

    void deliverThumbnail(quint64 generation, const QList<int> &targets, const QImage &image);
    void deliverFullView(quint64 generation, const QString &path, const media::DecodedPhoto &photo);

    QThreadPool m_pool;
    bool m_synchronous = false;
    quint64 m_pageGeneration = 0, m_fullGeneration = 0;
    Token m_pageToken, m_fullToken;
    int m_pending = 0;
    media::BackgroundJobs m_folderJobs{kFolderTimeLimit};
};

} // namespace kalmo::photo
