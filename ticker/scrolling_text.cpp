#include "ticker/scrolling_text.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <cmath>

namespace kalmo::ticker {

namespace {
constexpr int kDefaultFontSize = 16;
constexpr double kFallbackRefreshHz = 60.0;
} // namespace

TScrollingText::TScrollingText(QWidget *parent, const core::Clock *clock)
    : QFrame(parent), m_ownClock(clock ? nullptr : std::make_unique<core::SystemClock>()),
      m_pacer(clock ? *clock : *m_ownClock) {
    setFrameShape(QFrame::NoFrame);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont f = font();
    f.setPointSize(kDefaultFontSize);
    setFont(f);
    setTextColor(Qt::white);

    FTimer = new QTimer(this);
    FTimer->setObjectName(QStringLiteral("FTimer"));
    FTimer->setTimerType(Qt::PreciseTimer);
    FTimer->setSingleShot(true);
    connect(FTimer, &QTimer::timeout, this, &TScrollingText::onFrameTimer);

    m_presented = surfaceWidth();
    initializeSurface();
}

TScrollingText::~TScrollingText() {
    // Stops without raising OnStopPlay: the owner may already be half destroyed.
    FTimer->stop();
    FActive = false;
}

void TScrollingText::initializeSurface() {
    FInitialized = true;
}

int TScrollingText::surfaceWidth() const {
    return contentsRect().width();
}

int TScrollingText::fontPointSize() const {
    const QFont f = font();
    if (f.pointSize() > 0)
        return f.pointSize();
    if (f.pixelSize() > 0)
        return static_cast<int>(std::lround(f.pixelSize() * 72.0 / logicalDpiY()));
    return static_cast<int>(std::lround(f.pointSizeF()));
}

std::int32_t TScrollingText::estimatedWidth() const {
    return estimatedTextWidth(FText.size(), fontPointSize());
}

void TScrollingText::Play() {
    if (!FInitialized)
        initializeSurface();
    scroll = startPosition(FDirection, surfaceWidth(), estimatedWidth());
    // Until the first frame nothing is in view, not the new text at the old place.
    m_presented = scroll;
    update();
    activate();
}

void TScrollingText::Stop() {
    deactivate();
}

void TScrollingText::activate() {
    if (FActive)
        return;
    FActive = true;
    restartPacing();
    emit OnStartPlay();
}

void TScrollingText::deactivate() {
    if (!FActive)
        return;
    FActive = false;
    FTimer->stop();
    emit OnStopPlay();
}

void TScrollingText::setInterval(int ms) {
    m_interval = std::max(0, ms);
    if (FActive)
        restartPacing();
}

double TScrollingText::framePeriodMs() const {
    if (m_interval > 0)
        return m_interval;
    const QScreen *s = screen();
    const double hz = s && s->refreshRate() > 1.0 ? s->refreshRate() : kFallbackRefreshHz;
    return 1000.0 / hz;
}

void TScrollingText::restartPacing() {
    m_pacer.start(framePeriodMs());
    FTimer->start(std::max(1, m_pacer.msUntilNext()));
}

void TScrollingText::onFrameTimer() {
    if (!FActive)
        return;
    bool drawn = false;
    for (int i = m_pacer.framesDue(); i > 0; --i)
        drawn = frameStep() || drawn;
    if (drawn)
        update();
    FTimer->start(std::max(1, m_pacer.msUntilNext()));
}

bool TScrollingText::frameStep() {
    if (!FInitialized)
        return false;
    if (!frameGate(FDroppedFrames, m_frameCounter))
        return false;
    m_presented = scroll;
    scroll = nextPosition(scroll, FDirection, FStep, estimatedWidth(), surfaceWidth());
    return true;
}

void TScrollingText::setText(const QString &text) {
    FText = text;
    setAccessibleName(text);
    invalidateStrip();
    update();
}

void TScrollingText::setTextTopPosition(int y) {
    FTopPositiion = y;
    invalidateStrip();
    update();
}

QColor TScrollingText::backgroundColor() const {
    return palette().color(QPalette::Window);
}

void TScrollingText::setBackgroundColor(const QColor &color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

QColor TScrollingText::textColor() const {
    return palette().color(QPalette::WindowText);
}

void TScrollingText::setTextColor(const QColor &color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void TScrollingText::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event); // the panel's border, if it has one
    const QRect area = contentsRect();
    QPainter p(this);
    p.setClipRect(area);
    p.fillRect(area, backgroundColor());
    if (m_stripValid && m_stripRatio != devicePixelRatioF())
        invalidateStrip(); // moved to a screen of another pixel density
    if (!m_stripValid) {
        TextStrip::Style style;
        style.font = font();
        style.color = textColor();
        style.height = area.height();
        style.baseline = FTopPositiion + QFontMetrics(font()).ascent();
        style.devicePixelRatio = devicePixelRatioF();
        m_strip.setContent(FText, style);
        m_stripRatio = style.devicePixelRatio;
        m_stripValid = true;
    }
    p.translate(area.topLeft());
    m_strip.draw(p, m_presented, area.width());
}

void TScrollingText::resizeEvent(QResizeEvent *event) {
    QFrame::resizeEvent(event);
    // The strip depends on the band's height only.
    if (event->oldSize().height() != event->size().height())
        invalidateStrip();
}

void TScrollingText::changeEvent(QEvent *event) {
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        invalidateStrip();
        update();
        break;
    default:
        break;
    }
    QFrame::changeEvent(event);
}

} // namespace kalmo::ticker
