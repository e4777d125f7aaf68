#include "app/photo_loader.h"

#include "core/log.h"
#include "media/photo_decode.h"

namespace kalmo::app {

namespace {

struct Decode {
    QImage image;
    PhotoLoader::Outcome outcome;
};

} // namespace

PhotoLoader::PhotoLoader(QObject *parent) : QObject(parent) {}

void PhotoLoader::request(const QString &path, const QString &folder, const QSize &bounds) {
    const quint64 generation = ++m_generation;
    m_jobs.run(
        [path, folder, bounds] {
            if (!media::folderExists(folder))
                return Decode{{}, Outcome::FolderMissing};
            media::DecodedPhoto photo = media::decodeToFit(path, bounds);
            return Decode{photo.image, photo.status == media::DecodedPhoto::Ok ? Outcome::Decoded
                                                                               : Outcome::Failed};
        },
        [this, generation, path](std::optional<Decode> result) {
            if (generation != m_generation)
                return;
            if (!result)
                qCWarning(kalmo::lcPhoto) << "Photo folder gave no answer in time:" << path;
            emit loaded(path, result ? result->image : QImage(),
                        result ? result->outcome : Outcome::NoAnswer);
        });
}

void PhotoLoader::list(const QString &folder,
                       std::function<void(std::optional<media::FolderListing>)> done) {
    m_jobs.run([folder] { return media::listFolder(folder, media::photoExtensions()); },
               std::move(done));
}

void PhotoLoader::checkFolder(const QString &folder,
                              std::function<void(std::optional<bool>)> done) {
    m_jobs.run([folder] { return media::folderExists(folder); }, std::move(done));
}

} // namespace kalmo::app
