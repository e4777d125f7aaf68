#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QSize>

namespace kalmo::app {

// Decodes a photo at most at the size it is shown, away from the GUI thread, so that a
// 6000 x 4000 JPEG neither stalls the clock nor fills the memory.
class PhotoLoader : public QObject {
    Q_OBJECT
public:
    explicit PhotoLoader(QObject *parent = nullptr);
    ~PhotoLoader() override;

    // Starts decoding; a newer request supersedes one still running (its result is dropped).
    void request(const QString &path, const QSize &bounds);
    // Decode on the calling thread instead (tests, tools).
    void setSynchronous(bool on) { m_synchronous = on; }

    // Decodes at the largest size that fits `bounds` with the photo's proportions (never
    // enlarged). A null image when the file cannot be decoded.
    static QImage decode(const QString &path, const QSize &bounds);
    // The largest size of `photo` that fits `bounds` with its proportions, rounded as the
    // photo control rounds; `photo` itself when it fits already.
    static QSize fittedSize(QSize photo, QSize bounds);

signals:
    // The photo of the latest request; `image` is null when it failed.
    void loaded(const QString &path, const QImage &image);

private:
    bool m_synchronous = false;
    quint64 m_generation = 0;
};

} // namespace kalmo::app
