#include "app/photo_loader.h"

#include "core/background_thread.h"

#include <QImageReader>
#include <QtConcurrent>

namespace kalmo::app {

namespace {

// round(a * b / c) for positive values, halves up: the photo control's own rounding, so a
// photo decoded at this size needs no further scaling there.
int mulDivRound(int a, int b, int c) {
    return int((qint64(a) * b * 2 + c) / (qint64(c) * 2));
}

} // namespace

QSize PhotoLoader::fittedSize(QSize photo, QSize bounds) {
    const int w = photo.width(), h = photo.height();
    const int cw = bounds.width(), ch = bounds.height();
    if (w <= 0 || h <= 0 || cw <= 0 || ch <= 0 || (w <= cw && h <= ch))
        return photo;
    if (double(ch) / h > double(cw) / w)
        return QSize(cw, std::max(1, mulDivRound(h, cw, w)));
    return QSize(std::max(1, mulDivRound(w, ch, h)), ch);
}

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
    // Decoded, scaled and converted here, off the GUI thread: the photo control gets a
    // picture it can show as it is. JPEG scales while decoding, far cheaper than after.
    const QSize size = reader.size();
    const QSize fitted = fittedSize(size, bounds);
    if (size.isValid() && fitted != size)
        reader.setScaledSize(fitted);
    QImage image = reader.read();
    if (!image.isNull())
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
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
    watcher->setFuture(QtConcurrent::run([path, bounds] {
        core::yieldToTheGuiThread();
        return decode(path, bounds);
    }));
}

} // namespace kalmo::app
