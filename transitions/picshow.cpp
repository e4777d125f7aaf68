#include "transitions/picshow.h"

#include "transitions/blit.h"
#include "transitions/style_table.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QThread>
#include <algorithm>

namespace kalmo::transitions {

namespace {
// Largest frame side when the control has no screen to measure against.
constexpr int kFallbackFrameLimit = 3840;
} // namespace

TCustomPicShow::TCustomPicShow(QWidget *parent) : QWidget(parent) {
    m_color = palette().color(QPalette::Base);
    m_frameColor = QColor(180, 180, 180);
    m_random.seed(QRandomGenerator::global()->generate64());
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted by the control
    resize(100, 100);
    m_guiTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_guiTimer, &QTimer::timeout, this, [this] {
        if (!tick())
            m_guiTimer.stop();
    });
}

TCustomPicShow::~TCustomPicShow() {
    m_destroying = true;
    stop();
    m_timer.stop();
}

// ---- properties ----------------------------------------------------------------------

void TCustomPicShow::setPicture(const QImage &picture) {
    m_picture = picture;
    if (m_destroying)
        return;
    if (m_autoSize && !m_picture.isNull())
        applyAutoSize();
    doChange();
}

void TCustomPicShow::setBgPicture(const QImage &picture) {
    m_bgPicture = picture;
    if (m_bgMode == bmNone)
        return;
    {
        std::lock_guard lock(m_cs);
        if (m_dynamicOldPic && !m_oldPic.isNull())
            refreshOldPic();
    }
    update();
}

void TCustomPicShow::setBgMode(BackgroundMode mode) {
    if (mode == m_bgMode)
        return;
    m_bgMode = mode;
    if (m_bgPicture.isNull())
        return;
    {
        std::lock_guard lock(m_cs);
        if (m_dynamicOldPic && !m_oldPic.isNull())
            refreshOldPic();
    }
    update();
}

void TCustomPicShow::setColor(const QColor &color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TCustomPicShow::setCenter(bool on) {
    if (on == m_center)
        return;
    m_center = on;
    updateDisplayRect();
    if (!m_display.isNull())
        update();
}

void TCustomPicShow::setStretch(bool on) {
    if (on == m_stretch)
        return;
    m_stretch = on;
    updateDisplayRect();
    if (!m_display.isNull())
        update();
}

void TCustomPicShow::setProportional(bool on) {
    if (on == m_proportional)
        return;
    m_proportional = on;
    updateDisplayRect();
    if (!m_display.isNull())
        update();
}

void TCustomPicShow::setFrameWidth(int width) {
    width = std::max(0, width);
    if (width == m_frameWidth)
        return;
    m_frameWidth = width;
    if (m_autoSize)
        applyAutoSize();
    if (!m_display.isNull()) {
        updateDisplayRect();
        update();
    }
}

void TCustomPicShow::setFrameColor(const QColor &color) {
    if (color == m_frameColor)
        return;
    m_frameColor = color;
    if (m_frameWidth != 0 && !m_display.isNull())
        update();
}

void TCustomPicShow::setStyle(int style) {
    if (style == m_style || style < 0 || style > kStyleCount)
        return;
    m_style = style;
    if (m_busy && m_manual && !m_stopping) {
        composeFrame();
        repaintFrame();
    }
}

QString TCustomPicShow::styleName() const {
    return transitions::styleName(m_style);
}

void TCustomPicShow::setStyleName(const QString &name) {
    const int style = styleByName(name);
    if (style >= 0)
        setStyle(style);
}

void TCustomPicShow::setStep(int step) {
    if (step <= 0)
        step = 1;
    else if (step > 100)
        step = 99;
    m_step = step;
}

void TCustomPicShow::setDelay(int ms) {
    m_delay = std::clamp(ms, 0, 65535);
}

void TCustomPicShow::setManual(bool on) {
    if (on == m_manual)
        return;
    m_manual = on;
    stopTransitionTimer();
    if (!m_busy)
        m_progress = m_reverse ? 100 : 0;
    else if (!on)
        animateTransition();
}

void TCustomPicShow::setAutoSize(bool on) {
    if (on == m_autoSize)
        return;
    m_autoSize = on;
    if (on && !m_picture.isNull())
        applyAutoSize();
}

void TCustomPicShow::setOnStart(CustomDrawEvent handler) {
    m_onStart = std::move(handler);
}

void TCustomPicShow::setOnBeforeNewFrame(CustomDrawEvent handler) {
    std::lock_guard lock(m_cs);
    m_onBeforeNewFrame = std::move(handler);
}

void TCustomPicShow::setOnAfterNewFrame(CustomDrawEvent handler) {
    std::lock_guard lock(m_cs);
    m_onAfterNewFrame = std::move(handler);
}

void TCustomPicShow::setOnCustomDraw(CustomDrawEvent handler) {
    std::lock_guard lock(m_cs);
    m_onCustomDraw = std::move(handler);
}

void TCustomPicShow::getStyleNames(QStringList &list) {
    list << styleNames();
}

QImage TCustomPicShow::frame() const {
    std::lock_guard lock(m_cs);
    return m_display.copy();
}

QRect TCustomPicShow::picRect() const {
    std::lock_guard lock(m_cs);
    return m_picRect;
}

QRect TCustomPicShow::displayRect() const {
    std::lock_guard lock(m_cs);
    return m_displayRect;
}

void TCustomPicShow::setClock(const core::Clock *clock) {
    m_clock = clock;
}

void TCustomPicShow::setTimerLimits(int minPeriod, int maxPeriod) {
    m_timerMin = std::max(0, minPeriod);
    m_timerMax = std::max(0, maxPeriod);
}

std::uint32_t TCustomPicShow::nowMs() const {
    return (m_clock ? m_clock : &m_systemClock)->tickMs();
}

// ---- progress setting ------------------------------------------------------------------

void TCustomPicShow::setProgress(int progress) {
    progress = std::clamp(progress, 0, 100);
    if (!m_busy || progress == m_progress)
        return;
    m_progress = progress;
    composeFrame();
    const bool onGuiThread = QThread::currentThread() == thread();
    if (m_threaded && !m_manual && !onGuiThread) {
        const unsigned generation = m_generation;
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation != m_generation || !m_busy)
                    return; // a progress report of a transition that has ended
                repaintFrame();
                doProgress();
            },
            Qt::QueuedConnection);
        return;
    }
    repaintFrame();
    doProgress();
}

void TCustomPicShow::repaintFrame() {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this] { repaintFrame(); }, Qt::QueuedConnection);
        return;
    }
    QRect r;
    {
        std::lock_guard lock(m_cs);
        r = m_displayRect;
    }
    update(r);
}

// ---- frame pipeline --------------------------------------------------------------------

void TCustomPicShow::execute() {
    if (m_picture.isNull() || m_busy)
        return;
    m_busy = true;
    ++m_generation;
    try {
        prepareTransition();
        if (!m_manual && !m_stopping)
            animateTransition();
    } catch (...) {
        {
            std::lock_guard lock(m_cs);
            m_pic = QImage();
            m_oldPic = QImage();
        }
        m_busy = false;
        throw;
    }
}

QSize TCustomPicShow::shownSize(QSize picture, int cw, int ch) const {
    int w = picture.width(), h = picture.height();
    if (m_proportional && w > 0 && h > 0 && (m_stretch || cw < w || ch < h)) {
        if (double(ch) / h > double(cw) / w) {
            h = MulDiv(h, cw, w);
            w = cw;
        } else {
            w = MulDiv(w, ch, h);
            h = ch;
        }
    } else if (m_stretch) {
        w = cw;
        h = ch;
    }
    return QSize(w, h);
}

// Frames are built at the size they are shown at, never larger: a big photo is scaled down
// once here instead of making every frame of the transition at its full size.
QSize TCustomPicShow::fittedPictureSize() const {
    QSize size = m_picture.size();
    const int cw = width() - 2 * m_frameWidth, ch = height() - 2 * m_frameWidth;
    if (cw > 0 && ch > 0) {
        const QSize shown = shownSize(size, cw, ch);
        if (shown.width() > 0 && shown.height() > 0)
            size = size.boundedTo(shown);
    }
    QSize limit(kFallbackFrameLimit, kFallbackFrameLimit);
    if (const QScreen *s = screen())
        limit = (QSizeF(s->size()) * s->devicePixelRatio()).toSize().expandedTo(this->size());
    if (size.width() > limit.width() || size.height() > limit.height())
        size = size.scaled(limit, Qt::KeepAspectRatio);
    return size.expandedTo(QSize(1, 1));
}

void TCustomPicShow::prepareTransition() {
    const QSize size = fittedPictureSize();
    QImage source = m_picture;
    if (source.size() != size)
        source = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int W = size.width(), H = size.height();
    {
        std::lock_guard lock(m_cs);
        if (!m_overDraw || m_display.isNull() || m_display.size() != size) {
            m_dynamicOldPic = true;
            m_oldPic = QImage(size, QImage::Format_RGB32);
            m_oldPic.fill(m_color);
        } else {
            m_dynamicOldPic = false;
            m_oldPic = m_display.convertToFormat(QImage::Format_RGB32).copy();
        }
        m_pic = QImage(size, QImage::Format_RGB32);
        m_pic.fill(m_color);
        {
            QPainter painter(&m_pic);
            painter.drawImage(0, 0, source);
        }
        if (m_pic.isNull() || m_oldPic.isNull())
            throw std::bad_alloc();
        m_display = QImage(size, QImage::Format_RGB32);
        m_picRect = QRect(0, 0, W, H);
        m_transitionSeed = QRandomGenerator::global()->generate64();
        updateDisplayRect();
        m_display = m_oldPic.copy();
        m_progress = m_reverse ? 100 : 0;
    }
    update();
    doStart(m_pic, m_oldPic);
}

void TCustomPicShow::animateTransition() {
    m_lastUpdateTime = nowMs();
    if (m_threaded) {
        startTransitionTimer();
        return;
    }
    // Non-threaded: the first step at once, then one step per Delay on the GUI thread.
    if (!tick())
        return;
    if (m_busy && !m_manual && !m_stopping)
        m_guiTimer.start(m_delay);
}

bool TCustomPicShow::tick() {
    if (!m_busy || m_stopping)
        return false;
    if (advanceProgress())
        return true;
    const unsigned generation = m_generation;
    if (QThread::currentThread() == thread()) {
        finishTransition();
    } else {
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation == m_generation)
                    finishTransition();
            },
            Qt::QueuedConnection);
    }
    return false;
}

bool TCustomPicShow::advanceProgress() {
    int step = m_step;
    const std::uint32_t now = nowMs();
    // Without a period there is nothing to scale by: a Delay of 0 keeps the plain step (the
    // scaled one would be 0 for ever and the transition would never end).
    if (m_exactTiming && m_delay > 0)
        step = MulDiv(m_step, static_cast<int>(now - m_lastUpdateTime), m_delay);
    m_lastUpdateTime = now;
    const int progress = m_progress;
    if (!m_reverse)
        setProgress(progress < 100 - step ? progress + step : 100);
    else
        setProgress(step < progress ? progress - step : 0);
    return m_reverse ? m_progress != 0 : m_progress != 100;
}

void TCustomPicShow::composeFrame() {
    std::lock_guard lock(m_cs);
    if (m_pic.isNull() || m_oldPic.isNull())
        return;
    const int progress = m_progress, style = m_style;
    const bool hooks = bool(m_onBeforeNewFrame);
    if (!hooks && style != 0) {
        drawStyle(m_display, m_oldPic, m_pic, style, progress, m_transitionSeed, m_random);
    } else {
        if (m_display.size() != m_oldPic.size())
            m_display = QImage(m_oldPic.size(), QImage::Format_RGB32);
        copyRect(m_display, m_oldPic, m_oldPic.rect());
        doBeforeNewFrame(m_pic, m_display);
        if (progress >= 100)
            copyRect(m_display, m_pic, m_pic.rect());
        else if (progress > 0 && style == 0)
            doCustomDraw(m_pic, m_display);
        else if (progress > 0)
            drawStyle(m_display, m_oldPic, m_pic, style, progress, m_transitionSeed, m_random,
                      true);
    }
    doAfterNewFrame(m_pic, m_display);
}

void TCustomPicShow::finishTransition() {
    if (!m_busy)
        return;
    m_busy = false;
    m_guiTimer.stop();
    m_timer.stop(); // the thread has handed over; make sure it is gone
    {
        std::lock_guard lock(m_cs);
        m_pic = QImage();
        m_oldPic = QImage();
    }
    if (m_destroying)
        return;
    update();
    if (!m_stopping)
        doComplete();
    doStop();
}

void TCustomPicShow::stop() {
    if (!m_busy || m_stopping)
        return;
    m_stopping = true;
    try {
        stopTransitionTimer();
        finishTransition();
    } catch (...) {
        m_stopping = false;
        throw;
    }
    m_stopping = false;
}

void TCustomPicShow::clear() {
    if (m_busy)
        return;
    {
        std::lock_guard lock(m_cs);
        if (m_display.isNull())
            return;
        m_display = QImage();
        m_picRect = QRect();
        m_displayRect = QRect();
    }
    update();
}

void TCustomPicShow::startTransitionTimer() {
    if (m_timer.running())
        return;
    int delay = m_delay;
    // Limits of (0, 0) mean the platform timer could not be asked: they change nothing.
    if (m_timerMax > 0 && delay > m_timerMax)
        delay = m_timerMax;
    int resolution = delay / 10;
    if (resolution < m_timerMin) {
        resolution = m_timerMin;
        if (delay < m_timerMin)
            delay = m_timerMin;
    }
    m_delay = delay;
    // The resolution is what the platform timer is asked for; the steady-clock thread
    // needs no system-wide request.
    Q_UNUSED(resolution);
    if (delay > 0)
        m_timer.start(delay, [this] { return tick(); });
}

void TCustomPicShow::stopTransitionTimer() {
    m_guiTimer.stop();
    m_timer.stop(); // waits for a frame being built to finish
}

// ---- geometry and painting -------------------------------------------------------------

void TCustomPicShow::updateDisplayRect() {
    std::lock_guard lock(m_cs);
    const int cw = width() - 2 * m_frameWidth, ch = height() - 2 * m_frameWidth;
    const QSize shown = shownSize(m_picRect.size(), cw, ch);
    QRect r(0, 0, shown.width(), shown.height());
    if (m_center)
        r.translate(m_frameWidth + (cw - shown.width()) / 2,
                    m_frameWidth + (ch - shown.height()) / 2);
    else
        r.translate(m_frameWidth, m_frameWidth);
    m_displayRect = r;
    if (m_dynamicOldPic && !m_oldPic.isNull())
        refreshOldPic();
}

void TCustomPicShow::refreshOldPic() {
    std::lock_guard lock(m_cs);
    if (m_oldPic.isNull())
        return;
    const QSize size = m_displayRect.size();
    if (size.width() > 0 && size.height() > 0) {
        QImage background(size, QImage::Format_RGB32);
        {
            QPainter painter(&background);
            painter.translate(-m_displayRect.topLeft());
            paintBackground(painter, rect());
        }
        stretchBlt(m_oldPic, 0, 0, m_oldPic.width(), m_oldPic.height(), background, 0, 0,
                   size.width(), size.height());
    }
    if (m_busy && m_manual && !m_stopping)
        composeFrame();
}

void TCustomPicShow::applyAutoSize() {
    if (m_picture.isNull())
        return;
    const int w = m_picture.width() + 2 * m_frameWidth;
    const int h = m_picture.height() + 2 * m_frameWidth;
    const bool widthFree = m_align == alNone || m_align == alLeft || m_align == alRight;
    const bool heightFree = m_align == alNone || m_align == alTop || m_align == alBottom;
    resize(widthFree ? w : width(), heightFree ? h : height());
}

void TCustomPicShow::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    updateDisplayRect();
    std::lock_guard lock(m_cs);
    if (!m_display.isNull())
        update();
}

void TCustomPicShow::paintEvent(QPaintEvent *event) {
    std::lock_guard lock(m_cs);
    QPainter painter(this);
    if (!m_display.isNull() && m_displayRect.contains(event->rect())) {
        painter.drawImage(m_displayRect, m_display, m_picRect);
        return;
    }
    paintImage(painter);
}

void TCustomPicShow::paintImage(QPainter &painter) {
    std::lock_guard lock(m_cs);
    if (m_display.isNull()) {
        paintBackground(painter, rect());
        return;
    }
    painter.drawImage(m_displayRect, m_display, m_picRect);
    QRect r = m_displayRect;
    if (m_frameWidth > 0) {
        r = m_displayRect.adjusted(-m_frameWidth, -m_frameWidth, m_frameWidth, m_frameWidth);
        const QRegion band = QRegion(r) - QRegion(m_displayRect);
        for (const QRect &part : band)
            painter.fillRect(part, m_frameColor);
    }
    painter.save();
    painter.setClipRegion(QRegion(rect()) - QRegion(r));
    paintBackground(painter, rect());
    painter.restore();
}

void TCustomPicShow::paintBackground(QPainter &painter, const QRect &rect) {
    if (rect.isEmpty())
        return;
    const BackgroundMode mode = m_bgPicture.isNull() ? bmNone : m_bgMode;
    switch (mode) {
    case bmNone:
        painter.fillRect(rect, m_color);
        break;
    case bmStretched:
        painter.drawImage(rect, m_bgPicture);
        break;
    case bmCentered: {
        const QRect image(rect.left() + (rect.width() - m_bgPicture.width()) / 2,
                          rect.top() + (rect.height() - m_bgPicture.height()) / 2,
                          m_bgPicture.width(), m_bgPicture.height());
        painter.drawImage(image.topLeft(), m_bgPicture);
        painter.save();
        const QRegion rest = QRegion(rect) - QRegion(image);
        painter.setClipRegion(painter.hasClipping() ? painter.clipRegion() & rest : rest);
        painter.fillRect(rect, m_color);
        painter.restore();
        break;
    }
    case bmTiled: {
        const int gw = m_bgPicture.width(), gh = m_bgPicture.height();
        painter.save();
        QRect box = rect;
        if (painter.hasClipping())
            box &= painter.clipBoundingRect().toAlignedRect();
        painter.setClipRect(rect, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        if (!box.isEmpty()) {
            const int left = box.left() - (box.left() - rect.left()) % gw;
            const int top = box.top() - (box.top() - rect.top()) % gh;
            for (int y = top; y <= box.bottom(); y += gh)
                for (int x = left; x <= box.right(); x += gw)
                    painter.drawImage(x, y, m_bgPicture);
        }
        painter.restore();
        break;
    }
    }
}

void TCustomPicShow::enterEvent(QEnterEvent *event) {
    QWidget::enterEvent(event);
    emit onMouseEnter();
}

void TCustomPicShow::leaveEvent(QEvent *event) {
    QWidget::leaveEvent(event);
    emit onMouseLeave();
}

// ---- events ----------------------------------------------------------------------------

void TCustomPicShow::doChange() {
    emit onChange();
}
void TCustomPicShow::doProgress() {
    emit onProgress();
}
void TCustomPicShow::doComplete() {
    emit onComplete();
}
void TCustomPicShow::doStop() {
    emit onStop();
}

void TCustomPicShow::doCustomDraw(const QImage &picture, QImage &screen) {
    if (m_onCustomDraw)
        m_onCustomDraw(this, picture, screen);
}

void TCustomPicShow::doBeforeNewFrame(const QImage &picture, QImage &screen) {
    if (m_onBeforeNewFrame)
        m_onBeforeNewFrame(this, picture, screen);
}

void TCustomPicShow::doAfterNewFrame(const QImage &picture, QImage &screen) {
    if (m_onAfterNewFrame)
        m_onAfterNewFrame(this, picture, screen);
}

void TCustomPicShow::doStart(const QImage &picture, QImage &screen) {
    if (m_onStart)
        m_onStart(this, picture, screen);
}

} // namespace kalmo::transitions
