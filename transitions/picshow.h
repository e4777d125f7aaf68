#pragma once

#include "core/clock.h"
#include "core/random.h"
#include "transitions/frame_setup.h"
#include "transitions/frame_worker.h"
#include "transitions/pacing.h"

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace kalmo::transitions {

class BandPool;

// Carries the worker's "something waits" from its thread to the control's, as a queued
// signal of an object that the worker may outlive by no instant.
class FrameMailbox : public QObject {
    Q_OBJECT
signals:
    void posted();
};

// A picture control that replaces the picture it shows by a new one through an animated
// transition: load `picture`, choose `style`, call `execute()`.
//
// Threads: everything of the control, its events and every handler run on the GUI thread.
// In threaded mode (the default) a FrameWorker thread of the transition's own makes the
// pictures, paces the progress and builds each frame into a back buffer of its own; the
// control collects the newest frame by a swap under the worker's mutex and paints it. The
// worker never touches the control, and the control stops and joins it before any part of
// itself is destroyed. A transition with a frame handler (before/after new frame, custom
// draw) or style 0 has its frames built on the GUI thread, where the handlers run; the worker
// then only paces. In threaded mode onStart arrives once the pictures are made, after
// execute() has returned.
class TCustomPicShow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QImage picture READ picture WRITE setPicture)
    Q_PROPERTY(QImage bgPicture READ bgPicture WRITE setBgPicture)
    Q_PROPERTY(BackgroundMode bgMode READ bgMode WRITE setBgMode)
    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(bool center READ center WRITE setCenter)
    Q_PROPERTY(bool stretch READ stretch WRITE setStretch)
    Q_PROPERTY(bool proportional READ proportional WRITE setProportional)
    Q_PROPERTY(int frameWidth READ frameWidth WRITE setFrameWidth)
    Q_PROPERTY(QColor frameColor READ frameColor WRITE setFrameColor)
    Q_PROPERTY(int style READ style WRITE setStyle)
    Q_PROPERTY(QString styleName READ styleName WRITE setStyleName STORED false)
    Q_PROPERTY(int step READ step WRITE setStep)
    Q_PROPERTY(int delay READ delay WRITE setDelay)
    Q_PROPERTY(bool exactTiming READ exactTiming WRITE setExactTiming)
    Q_PROPERTY(bool reverse READ reverse WRITE setReverse)
    Q_PROPERTY(bool manual READ manual WRITE setManual)
    Q_PROPERTY(bool threaded READ threaded WRITE setThreaded)
    Q_PROPERTY(bool overDraw READ overDraw WRITE setOverDraw)
    Q_PROPERTY(bool autoSize READ autoSize WRITE setAutoSize)
    Q_PROPERTY(Align align READ align WRITE setAlign)
    Q_PROPERTY(bool busy READ busy)
    Q_PROPERTY(bool empty READ empty)
    Q_PROPERTY(int progress READ progress WRITE setProgress)

public:
    enum BackgroundMode { bmNone, bmTiled, bmStretched, bmCentered };
    Q_ENUM(BackgroundMode)
    // Only decides which sides auto-size may change; placing the control is the layout's job.
    enum Align { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
    Q_ENUM(Align)

    // Sender, the new picture, and the frame being built (for onStart: the old picture).
    using CustomDrawEvent =
        std::function<void(TCustomPicShow *sender, const QImage &picture, QImage &screen)>;

    explicit TCustomPicShow(QWidget *parent = nullptr);
    ~TCustomPicShow() override;

    QImage picture() const { return m_picture; }
    void setPicture(const QImage &picture); // copies; raises onChange
    QImage bgPicture() const { return m_bgPicture; }
    void setBgPicture(const QImage &picture);
    BackgroundMode bgMode() const { return m_bgMode; }
    void setBgMode(BackgroundMode mode);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    bool center() const { return m_center; }
    void setCenter(bool on);
    bool stretch() const { return m_stretch; }
    void setStretch(bool on);
    bool proportional() const { return m_proportional; }
    void setProportional(bool on);
    int frameWidth() const { return m_frameWidth; }
    void setFrameWidth(int width); // negative counts as 0
    QColor frameColor() const { return m_frameColor; }
    void setFrameColor(const QColor &color);
    int style() const { return m_style; }
    void setStyle(int style);  // 0..176; other values and the current one are ignored
    QString styleName() const; // "Custom" for 0
    void setStyleName(const QString &name);
    int step() const { return m_step; }
    void setStep(int step); // 0 -> 1, above 100 -> 99
    int delay() const { return m_delay; }
    void setDelay(int ms); // 0..65535 ms between ticks
    bool exactTiming() const { return m_exactTiming; }
    void setExactTiming(bool on) { m_exactTiming = on; }
    bool reverse() const { return m_reverse; }
    void setReverse(bool on) { m_reverse = on; }
    bool manual() const { return m_manual; }
    void setManual(bool on);
    bool threaded() const { return m_threaded; }
    void setThreaded(bool on) { m_threaded = on; }
    bool overDraw() const { return m_overDraw; }
    void setOverDraw(bool on) { m_overDraw = on; }
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    Align align() const { return m_align; }
    void setAlign(Align align) { m_align = align; }

    bool busy() const { return m_busy; }
    bool empty() const { return m_picture.isNull(); }
    int progress() const { return m_progress; }
    void setProgress(int progress); // above 100 -> 100; only while busy

    void setOnStart(CustomDrawEvent handler);
    void setOnBeforeNewFrame(CustomDrawEvent handler);
    void setOnAfterNewFrame(CustomDrawEvent handler);
    void setOnCustomDraw(CustomDrawEvent handler);

    // Appends the 176 style names in style order (no "Custom").
    static void getStyleNames(QStringList &list);

    // A copy of the frame now shown (empty before the first transition or after clear()).
    QImage frame() const;
    QRect picRect() const;
    QRect displayRect() const;

    // The clock for exact timing (the control keeps using the system clock when null).
    void setClock(const core::Clock *clock);
    // The system timer's period limits in ms (min 1, max 1000000 unless set); a failed query
    // is (0, 0). Delay is kept within them when a threaded transition starts.
    void setTimerLimits(int minPeriod, int maxPeriod);

    // One pacing step on the GUI thread, as a tick of the non-threaded timer does it:
    // advances progress and ends the transition when the end is reached. Returns true while
    // steps remain.
    bool tick();

    virtual void execute();
    virtual void stop();
    virtual void clear();

signals:
    void onChange();
    void onProgress();
    void onComplete();
    void onStop();
    void onMouseEnter();
    void onMouseLeave();

protected:
    virtual void paintBackground(QPainter &painter, const QRect &rect);
    virtual void paintImage(QPainter &painter);
    virtual void doChange();
    virtual void doProgress();
    virtual void doCustomDraw(const QImage &picture, QImage &screen);
    virtual void doBeforeNewFrame(const QImage &picture, QImage &screen);
    virtual void doAfterNewFrame(const QImage &picture, QImage &screen);
    virtual void doComplete();
    virtual void doStart(const QImage &picture, QImage &screen);
    virtual void doStop();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void animateTransition();
    void startWorker(std::optional<FrameSetup> setup);
    void pauseWorker();
    void takeDelivery();
    void absorb(FrameWorker::Delivery &delivery);
    void adoptPictures(const TransitionPictures &pictures);
    bool hasFrameHandlers() const;
    void followFrameHandlers();
    void composeFrame();
    void finishTransition();
    void abandonTransition();
    int delayWithinTimerLimits();
    QRect displayRectFor(QSize picture) const;
    void updateDisplayRect();
    void refreshOldPic();
    void applyAutoSize();
    Background background() const;
    Pacing pacing() const;
    QSize fittedPictureSize() const;
    QSize shownSize(QSize picture, int cw, int ch) const;
    const core::Clock &clock() const;
    std::uint32_t nowMs() const;

    QImage m_display, m_oldPic, m_pic;
    QRect m_picRect, m_displayRect;
    bool m_dynamicOldPic = false;

    QImage m_picture, m_bgPicture;
    BackgroundMode m_bgMode = bmTiled;
    QColor m_color, m_frameColor;
    bool m_center = false, m_stretch = false, m_proportional = false;
    int m_frameWidth = 0;
    bool m_autoSize = false;
    Align m_align = alNone;

    int m_style = 51;
    int m_step = 4;
    int m_delay = 40;
    bool m_exactTiming = false, m_reverse = false, m_manual = false, m_threaded = true,
         m_overDraw = true;
    bool m_busy = false, m_stopping = false, m_destroying = false;
    int m_progress = 0;
    unsigned m_generation = 0;
    std::uint32_t m_lastUpdateTime = 0;
    std::uint64_t m_transitionSeed = 0;
    core::Random m_random;

    CustomDrawEvent m_onStart, m_onBeforeNewFrame, m_onAfterNewFrame, m_onCustomDraw;

    core::SystemClock m_systemClock;
    const core::Clock *m_clock = nullptr;
    int m_timerMin = 1, m_timerMax = 1000000;
    QTimer m_guiTimer; // paces non-threaded transitions on the GUI thread
    std::unique_ptr<BandPool> m_pool;
    bool m_workerFrames = false; // the running worker builds the frames
    // Declared last: the worker is stopped before the mailbox it posts to goes.
    FrameMailbox m_mailbox;
    FrameWorker m_worker;
};

// The published control.
class TPicShow : public TCustomPicShow {
    Q_OBJECT
public:
    using TCustomPicShow::TCustomPicShow;
};

} // namespace kalmo::transitions
