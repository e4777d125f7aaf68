#pragma once

#include "media/background_jobs.h"
#include "media/folder_listing.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <functional>

namespace kalmo::app {

// The main screen's photo folder work, all of it away from the GUI thread: listings, the
// folder check, and decoding a photo at most at the size it is shown, so that a 6000 x 4000
// JPEG neither stalls the clock nor fills the memory, and a share that hangs leaves the
// screen as it is.
class PhotoLoader : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Decoded,
        Failed,        // unreadable, gone, or still being written: the list is rebuilt
        FolderMissing, // the photo folder is not there
        NoAnswer,      // the folder did not answer in time: the screen stays as it is
    };
    Q_ENUM(Outcome)

    static constexpr std::chrono::seconds kTimeLimit{5};

    explicit PhotoLoader(QObject *parent = nullptr);

    // Starts decoding `path` of `folder`; a newer request supersedes one still running (its
    // result is dropped).
    void request(const QString &path, const QString &folder, const QSize &bounds);
    // Lists the folder's photos; nullopt when it gave no answer in time.
    void list(const QString &folder, std::function<void(std::optional<media::FolderListing>)> done);
    // Whether the folder is there; nullopt when it gave no answer in time.
    void checkFolder(const QString &folder, std::function<void(std::optional<bool>)> done);
    // Does all of it on the calling thread instead (tests, tools).
    void setSynchronous(bool on) { m_jobs.setSynchronous(on); }
    media::BackgroundJobs &jobs() { return m_jobs; }

signals:
    // The photo of the latest request; `image` is null unless it was decoded.
    void loaded(const QString &path, const QImage &image, kalmo::app::PhotoLoader::Outcome outcome);

private:
    media::BackgroundJobs m_jobs{kTimeLimit};
    quint64 m_generation = 0;
};

} // namespace kalmo::app
