#include "transitions/picshow.h"

#include "core/log.h"
#include "transitions/band_pool.h"
#include "transitions/blit.h"
#include "transitions/style_table.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <algorithm>

namespace kalmo::transitions {

namespace {
// Largest frame side when the control has no screen to measure against.
constexpr int kFallbackFrameLimit = 3840;
} // namespace

TCustomPicShow::TCustomPicShow(QWidget *parent)
    : QWidget(parent), m_worker([mailbox = &m_mailbox] { emit mailbox->posted(); }) {
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
    connect(
        &m_mailbox, &FrameMailbox::posted, this, [this] { takeDelivery(); }, Qt::QueuedConnection);
}

TCustomPicShow::~TCustomPicShow() {
    // First of all: the worker thread ends here, before anything it could hear of goes.
    m_destroying = true;
    m_worker.stop();
    m_guiTimer.stop();
    m_busy = false;
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
    if (m_dynamicOldPic && !m_oldPic.isNull())
        refreshOldPic();
    update();
}

void TCustomPicShow::setBgMode(BackgroundMode mode) {
    if (mode == m_bgMode)
        return;
    m_bgMode = mode;
    if (m_bgPicture.isNull())
        return;
    if (m_dynamicOldPic && !m_oldPic.isNull())
        refreshOldPic();
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
    if (m_worker.running()) {
        m_worker.setStyle(style);
        followFrameHandlers();
    }
    if (m_busy && m_manual && !m_stopping) {
        composeFrame();
        update(m_displayRect);
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
    pauseWorker();
    m_guiTimer.stop();
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
    m_onBeforeNewFrame = std::move(handler);
    followFrameHandlers();
}

void TCustomPicShow::setOnAfterNewFrame(CustomDrawEvent handler) {
    m_onAfterNewFrame = std::move(handler);
    followFrameHandlers();
}

void TCustomPicShow::setOnCustomDraw(CustomDrawEvent handler) {
    m_onCustomDraw = std::move(handler);
    followFrameHandlers();
}

void TCustomPicShow::getStyleNames(QStringList &list) {
    list << styleNames();
}

QImage TCustomPicShow::frame() const {
    return m_display.copy();
}

QRect TCustomPicShow::picRect() const {
    return m_picRect;
}

QRect TCustomPicShow::displayRect() const {
    return m_displayRect;
}

void TCustomPicShow::setClock(const core::Clock *clock) {
    m_clock = clock;
}

void TCustomPicShow::setTimerLimits(int minPeriod, int maxPeriod) {
    m_timerMin = std::max(0, minPeriod);
    m_timerMax = std::max(0, maxPeriod);
}

const core::Clock &TCustomPicShow::clock() const {
    return m_clock ? *m_clock : m_systemClock;
}

std::uint32_t TCustomPicShow::nowMs() const {
    return clock().tickMs();
}

Pacing TCustomPicShow::pacing() const {
    return Pacing{m_step, m_delay, m_exactTiming, m_reverse};
}

Background TCustomPicShow::background() const {
    return Background{m_bgPicture, m_bgMode, m_color};
}

// ---- progress setting ------------------------------------------------------------------

void TCustomPicShow::setProgress(int progress) {
    progress = std::clamp(progress, 0, 100);
    if (!m_busy || progress == m_progress)
        return;
    // The worker owns the progress while it runs: hold it, set the value, go on from there.
    const bool resume = m_worker.running();
    pauseWorker();
    if (!m_busy)
        return;
    m_progress = progress;
    composeFrame();
    update(m_displayRect);
    const unsigned generation = m_generation;
    doProgress();
    if (resume && generation == m_generation && m_busy && !m_manual && !m_stopping &&
        !isFinalProgress(m_progress, m_reverse))
        startWorker(std::nullopt);
}

// ---- frame pipeline --------------------------------------------------------------------

void TCustomPicShow::execute() {
    if (m_picture.isNull() || m_busy)
        return;
    m_busy = true;
    ++m_generation;
    m_transitionSeed = QRandomGenerator::global()->generate64();
    const QSize size = fittedPictureSize();
    FrameSetup setup{
        m_picture,           size, m_color, m_overDraw ? m_display : QImage(), background(), rect(),
        displayRectFor(size)};
    if (m_threaded && !m_manual && !m_stopping) {
        // The pictures and the first frame are made on the worker; onStart follows.
        m_progress = m_reverse ? 100 : 0;
        startWorker(std::move(setup));
        return;
    }
    try {
        adoptPictures(makeTransitionPictures(setup));
        const unsigned generation = m_generation;
        doStart(m_pic, m_oldPic);
        if (generation == m_generation && m_busy && !m_manual && !m_stopping)
            animateTransition();
    } catch (...) {
        abandonTransition();
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
// once, before the first frame, instead of making every frame at its full size.
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

void TCustomPicShow::adoptPictures(const TransitionPictures &pictures) {
    m_oldPic = pictures.oldPic;
    m_pic = pictures.pic;
    m_dynamicOldPic = pictures.dynamicOldPic;
    m_picRect = QRect(QPoint(0, 0), m_pic.size());
    m_displayRect = displayRectFor(m_pic.size());
    m_display = m_oldPic;
    m_progress = m_reverse ? 100 : 0;
    update();
}

void TCustomPicShow::abandonTransition() {
    m_worker.stop();
    m_guiTimer.stop();
    m_pic = QImage();
    m_oldPic = QImage();
    m_busy = false;
}

void TCustomPicShow::animateTransition() {
    m_lastUpdateTime = nowMs();
    if (m_threaded) {
        startWorker(std::nullopt);
        return;
    }
    // Non-threaded: the first step at once, then one step per Delay on the GUI thread.
    if (!tick())
        return;
    if (m_busy && !m_manual && !m_stopping)
        m_guiTimer.start(m_delay);
}

bool TCustomPicShow::hasFrameHandlers() const {
    return m_style == 0 || m_onBeforeNewFrame || m_onAfterNewFrame || m_onCustomDraw;
}

void TCustomPicShow::startWorker(std::optional<FrameSetup> setup) {
    if (m_worker.running())
        return;
    FrameWorker::Start start;
    start.setup = std::move(setup);
    if (!start.setup)
        start.pictures = TransitionPictures{m_oldPic, m_pic, m_dynamicOldPic};
    start.style = m_style;
    start.seed = m_transitionSeed;
    m_workerFrames = !hasFrameHandlers();
    start.buildFrames = m_workerFrames;
    start.progress = m_progress;
    m_delay = delayWithinTimerLimits();
    start.pacing = pacing();
    start.clock = &clock();
    start.lastTick = m_lastUpdateTime;
    if (!m_pool)
        m_pool = std::make_unique<BandPool>(BandPool::defaultHelpers());
    start.pool = m_pool.get();
    m_worker.start(std::move(start));
}

// A handler set or style 0 chosen while the worker builds frames (or the other way round)
// moves the building to where the handlers run.
void TCustomPicShow::followFrameHandlers() {
    if (!m_worker.running() || m_workerFrames == !hasFrameHandlers())
        return;
    pauseWorker();
    if (m_busy && !m_manual && !m_stopping)
        startWorker(std::nullopt);
}

// Stops the worker and keeps what it had made: the pictures, the newest frame and its
// progress. Progress reports it had not handed over yet are dropped.
void TCustomPicShow::pauseWorker() {
    if (!m_worker.running())
        return;
    FrameWorker::Delivery rest = m_worker.stop(m_display);
    absorb(rest);
    if (!rest.steps.empty()) {
        m_progress = rest.steps.back();
        if (!rest.hasFrame)
            composeFrame();
        update(m_displayRect);
    }
}

void TCustomPicShow::absorb(FrameWorker::Delivery &delivery) {
    if (delivery.error) {
        abandonTransition();
        try {
            std::rethrow_exception(delivery.error);
        } catch (const std::exception &e) {
            qCWarning(kalmo::lcTransitions) << "Transition could not start:" << e.what();
        } catch (...) {
            qCWarning(kalmo::lcTransitions) << "Transition could not start";
        }
        return;
    }
    if (delivery.prepared) {
        adoptPictures(*delivery.prepared);
        doStart(m_pic, m_oldPic);
    }
}

// The worker's hand-over, on the GUI thread.
void TCustomPicShow::takeDelivery() {
    if (!m_busy || !m_worker.running())
        return; // a wake of a worker that has been stopped since
    const unsigned generation = m_generation;
    FrameWorker::Delivery delivery = m_worker.take(m_display);
    const bool prepared = delivery.prepared.has_value();
    absorb(delivery);
    if (generation != m_generation || !m_busy)
        return;
    if (prepared) {
        m_worker.resume(m_oldPic); // an onStart handler may have drawn on it
        return;
    }
    if (!delivery.steps.empty()) {
        if (!m_workerFrames) {
            m_progress = delivery.steps.back();
            composeFrame();
        }
        update(m_displayRect);
        for (int progress : delivery.steps) {
            m_progress = progress;
            doProgress();
            if (generation != m_generation || !m_busy)
                return;
        }
    }
    if (delivery.finished)
        finishTransition();
}

bool TCustomPicShow::tick() {
    if (!m_busy || m_stopping)
        return false;
    const std::uint32_t now = nowMs();
    const int next = nextProgress(m_progress, pacing(), now - m_lastUpdateTime);
    m_lastUpdateTime = now;
    const unsigned generation = m_generation;
    setProgress(next);
    if (generation != m_generation || !m_busy)
        return false;
    if (!isFinalProgress(m_progress, m_reverse))
        return true;
    finishTransition();
    return false;
}

// Builds the frame of the current progress on the GUI thread, with the frame handlers.
void TCustomPicShow::composeFrame() {
    if (m_pic.isNull() || m_oldPic.isNull())
        return;
    const int progress = m_progress, style = m_style;
    if (!m_onBeforeNewFrame && style != 0) {
        drawStyle(m_display, m_oldPic, m_pic, style, progress, m_transitionSeed, m_random, false,
                  m_pool.get());
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
    m_worker.stop(); // it has handed over its last frame; make sure it is gone
    m_pic = QImage();
    m_oldPic = QImage();
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
        pauseWorker();
        m_guiTimer.stop();
        finishTransition();
    } catch (...) {
        m_stopping = false;
        throw;
    }
    m_stopping = false;
}

void TCustomPicShow::clear() {
    if (m_busy || m_display.isNull())
        return;
    m_display = QImage();
    m_picRect = QRect();
    m_displayRect = QRect();
    update();
}

// Keeps Delay within the system timer's limits (unknown limits, (0, 0), change nothing).
int TCustomPicShow::delayWithinTimerLimits() {
    int delay = m_delay;
    if (m_timerMax > 0 && delay > m_timerMax)
        delay = m_timerMax;
    if (delay / 10 < m_timerMin && delay < m_timerMin)
        delay = m_timerMin;
    return delay;
}

// ---- geometry and painting -------------------------------------------------------------

QRect TCustomPicShow::displayRectFor(QSize picture) const {
    const int cw = width() - 2 * m_frameWidth, ch = height() - 2 * m_frameWidth;
    const QSize shown = shownSize(picture, cw, ch);
    QRect r(0, 0, shown.width(), shown.height());
    if (m_center)
        r.translate(m_frameWidth + (cw - shown.width()) / 2,
                    m_frameWidth + (ch - shown.height()) / 2);
    else
        r.translate(m_frameWidth, m_frameWidth);
    return r;
}

void TCustomPicShow::updateDisplayRect() {
    m_displayRect = displayRectFor(m_picRect.size());
    if (m_dynamicOldPic && !m_oldPic.isNull())
        refreshOldPic();
}

void TCustomPicShow::refreshOldPic() {
    if (m_oldPic.isNull())
        return;
    const QSize size = m_displayRect.size();
    if (size.width() > 0 && size.height() > 0) {
        QImage under(size, QImage::Format_RGB32);
        {
            QPainter painter(&under);
            painter.translate(-m_displayRect.topLeft());
            paintBackground(painter, rect());
        }
        stretchBlt(m_oldPic, 0, 0, m_oldPic.width(), m_oldPic.height(), under, 0, 0, size.width(),
                   size.height());
    }
    if (m_worker.running())
        m_worker.setOldPicture(m_oldPic);
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
    if (!m_display.isNull())
        update();
}

void TCustomPicShow::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    if (!m_display.isNull() && m_displayRect.contains(event->rect())) {
        painter.drawImage(m_displayRect, m_display, m_picRect);
        return;
    }
    paintImage(painter);
}

void TCustomPicShow::paintImage(QPainter &painter) {
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
    transitions::paintBackground(painter, rect, background());
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
