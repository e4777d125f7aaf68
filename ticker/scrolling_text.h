#pragma once

#include "core/clock.h"
#include "ticker/frame_pacer.h"
#include "ticker/scroll_motion.h"
#include "ticker/text_strip.h"

#include <QFrame>
#include <QString>
#include <cstdint>
#include <memory>

class QTimer;

namespace kalmo::ticker {

// A band with one line of text moving across it by a fixed number of pixels per frame.
// Frames follow the display refresh (or `Interval` ms); the text is rendered once and
// each frame only blits it.
class TScrollingText : public QFrame {
    Q_OBJECT
    Q_PROPERTY(int Interval READ interval WRITE setInterval)
    Q_PROPERTY(int Step READ step WRITE setStep)
    Q_PROPERTY(int DroppedFrames READ droppedFrames WRITE setDroppedFrames)
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(int TextTopPosition READ textTopPosition WRITE setTextTopPosition)
    Q_PROPERTY(kalmo::ticker::TScrollDirection TextScrollDirection READ textScrollDirection WRITE
                   setTextScrollDirection)

public:
    // The clock paces the frames; without one the system clock is used.
    explicit TScrollingText(QWidget *parent, const core::Clock *clock = nullptr);
    ~TScrollingText() override;

    // Starts (or restarts) the text from its start position.
    void Play();
    void Stop();
    bool isActive() const { return FActive; }

    // Frame timer interval in ms; 0 = one frame per display refresh.
    int interval() const { return m_interval; }
    void setInterval(int ms);

    // Pixels per drawn frame; only the low 8 bits are kept.
    int step() const { return FStep; }
    void setStep(int step) { FStep = stepFromSetting(step); }

    int droppedFrames() const { return FDroppedFrames; }
    void setDroppedFrames(int frames) { FDroppedFrames = static_cast<std::uint8_t>(frames); }

    // Only stores the text: the position is reset by the next Play.
    QString text() const { return FText; }
    void setText(const QString &text);

    int textTopPosition() const { return FTopPositiion; }
    void setTextTopPosition(int y);

    TScrollDirection textScrollDirection() const { return FDirection; }
    void setTextScrollDirection(TScrollDirection direction) { FDirection = direction; }

    QColor backgroundColor() const;
    void setBackgroundColor(const QColor &color);
    QColor textColor() const;
    void setTextColor(const QColor &color);

    // Current x of the text on the surface, and the x of the frame on screen.
    std::int32_t scrollPosition() const { return scroll; }
    std::int32_t presentedPosition() const { return m_presented; }
    std::int32_t estimatedWidth() const;
    int surfaceWidth() const;

    // One frame timer event. Returns whether a frame was drawn (not dropped).
    bool frameStep();

    // Timer events dropped since the line last drew (frame dropping). Each line counts its
    // own, so lines on one screen do not take each other's frames.
    int frameCounter() const { return m_frameCounter; }

signals:
    void OnStartPlay();
    void OnStopPlay();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void initializeSurface();
    void activate();
    void deactivate();
    void onFrameTimer();
    void restartPacing();
    double framePeriodMs() const;
    int fontPointSize() const;
    void invalidateStrip() { m_stripValid = false; }

    int m_frameCounter = 0;
    std::int32_t scroll = 0;
    QString FText;
    bool FActive = false;
    bool FInitialized = false;
    QTimer *FTimer = nullptr; // child, owned by this widget
    std::int32_t FTopPositiion = 0;
    TScrollDirection FDirection = sdRightToLeft;
    std::uint8_t FStep = 1;
    std::uint8_t FDroppedFrames = 0;

    int m_interval = 0;
    std::unique_ptr<core::SystemClock> m_ownClock;
    FramePacer m_pacer;
    std::int32_t m_presented;
    TextStrip m_strip;
    bool m_stripValid = false;
    qreal m_stripRatio = 1.0;
};

} // namespace kalmo::ticker
