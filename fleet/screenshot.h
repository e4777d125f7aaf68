#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>

namespace kalmo::fleet {

// Screenshots are at most this wide: enough to see what a kiosk shows, small on the share.
inline constexpr int kShotMaxWidth = 960;

// One band of the screen as it is shown now. Runs on the GUI thread.
using BandGrabber = std::function<QImage(const QRect &band)>;

// The real screen (QScreen::grabWindow of the whole desktop): what every window shows,
// the video and the web view included.
BandGrabber screenGrabber();

// Where screenshots come from. A grabber that any thread may call runs on the worker with
// the rest of the work; otherwise the GUI thread grabs in bands.
struct ScreenSource {
    BandGrabber grab;
    bool anyThread = false;
};

// What `window` and its children paint, in bands (for display servers that give no picture
// of the screen, such as Wayland compositors).
BandGrabber widgetGrabber(QWidget *window);

// On X, the screen read over a connection of its own on the worker: the GUI thread does
// nothing for a screenshot. Elsewhere the kiosk's window painted in bands on the GUI thread,
// or without one, QScreen in bands.
ScreenSource defaultScreenSource(QWidget *window = nullptr);

// The bands stacked into one picture, scaled to at most kShotMaxWidth wide and encoded as
// JPEG. Pure work on pictures: runs on a worker.
QByteArray encodeScreenshot(const QList<QImage> &bands);

// Takes a screenshot in bands of rows, one band per turn of the event loop, so the GUI
// thread never stops for a whole-screen copy; `finished` hands the bands over for a worker
// to stack, scale and encode.
class BandedGrab : public QObject {
    Q_OBJECT
public:
    BandedGrab(QRect screen, int bandRows, BandGrabber grabber, QObject *parent = nullptr);

    // Starts a grab unless one is running. Returns false when one was.
    bool start();
    bool running() const { return m_next >= 0; }
    // One band; public so that tests and the benchmark drive it.
    void step();

signals:
    void finished(const QList<QImage> &bands);

private:
    QRect m_screen;
    int m_bandRows;
    BandGrabber m_grabber;
    QList<QImage> m_bands;
    int m_next = -1; // row of the next band; -1 when idle
};

} // namespace kalmo::fleet
