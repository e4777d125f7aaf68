#include "fleet/screenshot.h"

#include "fleet/x11_grab.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace kalmo::fleet {

BandGrabber screenGrabber() {
    return [](const QRect &band) {
        QScreen *screen = QGuiApplication::primaryScreen();
        if (!screen)
            return QImage();
        return screen->grabWindow(0, band.x(), band.y(), band.width(), band.height()).toImage();
    };
}

BandGrabber widgetGrabber(QWidget *window) {
    return [window = QPointer<QWidget>(window)](const QRect &band) {
        return window ? window->grab(band).toImage() : QImage();
    };
}

ScreenSource defaultScreenSource(QWidget *window) {
    if (x11Available())
        return {&x11Grab, true};
    if (window)
        return {widgetGrabber(window), false};
    return {screenGrabber(), false};
}

QByteArray encodeScreenshot(const QList<QImage> &bands) {
    int width = 0;
    int height = 0;
    for (const QImage &band : bands) {
        width = std::max(width, band.width());
        height += band.height();
    }
    if (width <= 0 || height <= 0)
        return {};
    QImage whole(width, height, QImage::Format_RGB32);
    whole.fill(Qt::black);
    {
        QPainter painter(&whole);
        int y = 0;
        for (const QImage &band : bands) {
            painter.drawImage(0, y, band);
            y += band.height();
        }
    }
    if (whole.width() > kShotMaxWidth)
        whole = whole.scaledToWidth(kShotMaxWidth, Qt::SmoothTransformation);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!whole.save(&buffer, "JPG", 80))
        return {};
    return bytes;
}

BandedGrab::BandedGrab(QRect screen, int bandRows, BandGrabber grabber, QObject *parent)
    : QObject(parent), m_screen(screen), m_bandRows(std::max(1, bandRows)),
      m_grabber(std::move(grabber)) {}

bool BandedGrab::start() {
    if (running())
        return false;
    m_bands.clear();
    m_next = m_screen.top();
    QTimer::singleShot(0, this, &BandedGrab::step);
    return true;
}

void BandedGrab::step() {
    if (!running())
        return;
    const int rows = std::min(m_bandRows, m_screen.bottom() + 1 - m_next);
    const QImage band = m_grabber(QRect(m_screen.left(), m_next, m_screen.width(), rows));
    if (!band.isNull())
        m_bands << band;
    m_next += rows;
    if (m_next > m_screen.bottom()) {
        m_next = -1;
        emit finished(m_bands);
        m_bands.clear();
        return;
    }
    // The next band after whatever else is waiting: input and painting go first.
    QTimer::singleShot(0, this, &BandedGrab::step);
}

} // namespace kalmo::fleet
