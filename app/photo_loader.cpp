#include "app/photo_loader.h"

#include <QImageReader>
#include <QtConcurrent>

namespace kalmo::app {

PhotoLoader::PhotoLoader(QObject *parent) : QObject(parent) {}

PhotoLoader::~PhotoLoader() {
    // Decodes still running must not outlive the watchers that hear of them.
    for (auto *watcher : findChildren<QFutureWatcher<QImage> *>())
        watcher->waitForFinished();
}

QImage PhotoLoader::decode(const QString &path, const QSize &bounds) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // A hostile or broken file must not claim gigabytes.
    reader.setAllocationLimit(512);
    QSize size = reader.size();
    if (size.isValid() && bounds.isValid() && !bounds.isEmpty() &&
        (size.width() > bounds.width() || size.height() > bounds.height())) {
        size.scale(bounds, Qt::KeepAspectRatio);
        reader.setScaledSize(size.expandedTo(QSize(1, 1)));
    }
    QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

void PhotoLoader::request(const QString &path, const QSize &bounds) {
    const quint64 generation = ++m_generation;
    if (m_synchronous) {
        emit loaded(path, decode(path, bounds));
        return;
    }
    // A superseded decode runs to its end on the pool and its result is dropped; the GUI
    // thread never waits for it.
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation, path] {
        watcher->deleteLater();
        if (generation == m_generation)
            emit loaded(path, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([path, bounds] { return decode(path, bounds); }));
}

} // namespace kalmo::app
