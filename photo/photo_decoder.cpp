#include "photo/photo_decoder.h"

#include "core/background_thread.h"

#include <QHash>
#include <QThread>
#include <algorithm>

namespace kalmo::photo {

namespace {
constexpr int kFullViewPriority = 1; // ahead of the thumbnails still queued
} // namespace

PhotoDecoder::PhotoDecoder(QObject *parent) : QObject(parent) {
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

PhotoDecoder::~PhotoDecoder() {
    cancelPage();
    cancelFullView();
    m_pool.clear();
    m_pool.waitForDone();
}

void PhotoDecoder::cancelPage() {
    if (m_pageToken)
        m_pageToken->store(true);
    m_pageToken.reset();
    ++m_pageGeneration;
    m_pending = 0;
}

void PhotoDecoder::cancelFullView() {
    if (m_fullToken)
        m_fullToken->store(true);
    m_fullToken.reset();
    ++m_fullGeneration;
}

void PhotoDecoder::requestPage(const QStringList &paths, QSize size) {
    cancelPage();
    const quint64 generation = m_pageGeneration;
    // One decode per distinct photo, in the order the slots show them.
    QStringList order;
    QHash<QString, QList<int>> slotsOf;
    for (int slot = 0; slot < paths.size(); ++slot) {
        const QString &path = paths[slot];
        if (path.isEmpty())
            continue;
        auto it = slotsOf.find(path);
        if (it == slotsOf.end()) {
            order << path;
            slotsOf.insert(path, {slot});
        } else {
            it->append(slot);
        }
        ++m_pending;
    }
    if (m_pending == 0) {
        emit pageDecoded(); // nothing to decode: the page is complete as it is
        return;
    }
    if (m_synchronous) {
        for (const QString &path : order)
            deliverThumbnail(generation, slotsOf[path], media::decodeThumbnail(path, size).image);
        return;
    }
    m_pageToken = std::make_shared<std::atomic<bool>>(false);
    for (const QString &path : order) {
        m_pool.start([this, token = m_pageToken, generation, path, size, targets = slotsOf[path]] {
            if (token->load())
                return;
            core::yieldToTheGuiThread();
            const QImage image = media::decodeThumbnail(path, size).image;
            if (token->load())
                return;
            QMetaObject::invokeMethod(
                this,
                [this, generation, targets, image] {
                    deliverThumbnail(generation, targets, image);
                },
                Qt::QueuedConnection);
        });
    }
}

void PhotoDecoder::deliverThumbnail(quint64 generation, const QList<int> &targets,
                                    const QImage &image) {
    if (generation != m_pageGeneration)
        return;
    for (int slot : targets) {
        --m_pending;
        emit thumbnailDecoded(slot, image);
        // A handler may have moved to another page meanwhile.
        if (generation != m_pageGeneration)
            return;
    }
    if (m_pending == 0) {
        m_pageToken.reset();
        emit pageDecoded();
    }
}

void PhotoDecoder::requestFullView(const QString &path, QSize bounds) {
    cancelFullView();
    const quint64 generation = m_fullGeneration;
    if (m_synchronous) {
        deliverFullView(generation, path, media::decodeToFit(path, bounds));
        return;
    }
    m_fullToken = std::make_shared<std::atomic<bool>>(false);
    m_pool.start(
        [this, token = m_fullToken, generation, path, bounds] {
            if (token->load())
                return;
            core::yieldToTheGuiThread();
            const media::DecodedPhoto photo = media::decodeToFit(path, bounds);
            if (token->load())
                return;
            QMetaObject::invokeMethod(
                this, [this, generation, path, photo] { deliverFullView(generation, path, photo); },
                Qt::QueuedConnection);
        },
        kFullViewPriority);
}

void PhotoDecoder::deliverFullView(quint64 generation, const QString &path,
                                   const media::DecodedPhoto &photo) {
    if (generation != m_fullGeneration)
        return;
    m_fullToken.reset();
    emit fullViewDecoded(path, photo.image, photo.status);
}

void PhotoDecoder::listFolder(const QString &folder,
                              std::function<void(std::optional<media::FolderListing>)> done) {
    m_folderJobs.run([folder] { return media::listFolder(folder, media::photoExtensions()); },
                     std::move(done));
}

void PhotoDecoder::checkFolder(const QString &folder,
                               std::function<void(std::optional<bool>)> done) {
    m_folderJobs.run([folder] { return media::folderExists(folder); }, std::move(done));
}

} // namespace kalmo::photo
