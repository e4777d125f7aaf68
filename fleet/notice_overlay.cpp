#include "fleet/notice_overlay.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QTimer>

namespace kalmo::fleet {

namespace {

const QColor kRed(0xc6, 0x28, 0x28);

} // namespace

NoticeInputGuard::NoticeInputGuard(QWidget *notice) : m_notice(notice) {}

bool NoticeInputGuard::isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::Gesture:
    case QEvent::ContextMenu:
    case QEvent::NativeGesture:
        return true;
    default:
        return false;
    }
}

bool NoticeInputGuard::eventFilter(QObject *watched, QEvent *event) {
    if (isInput(event->type()))
        return true;
    if (event->type() == QEvent::Show && watched != m_notice && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->isWindow()) {
        // A window shown later (a message box, a screen) goes on top; put the notice back
        // above it once it is on screen.
        QTimer::singleShot(0, m_notice, [notice = m_notice] { notice->raise(); });
    }
    return false;
}

NoticeOverlay::NoticeOverlay(const QRect &screen, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_guard(this) {
    setObjectName(QStringLiteral("Notice"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(screen);
}

NoticeOverlay::~NoticeOverlay() {
    if (m_guardInstalled)
        qApp->removeEventFilter(&m_guard);
}

QFont NoticeOverlay::baseFont() const {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QRect NoticeOverlay::textArea() const {
    const int margin = std::max(8, std::min(width(), height()) / 20);
    return rect().adjusted(margin, margin, -margin, -margin);
}

void NoticeOverlay::relayout() {
    m_layout = fitNotice(m_notice.title, m_notice.text, textArea(), baseFont());
    update();
}

void NoticeOverlay::showNotice(const Notice &notice) {
    const bool changed = !(notice == m_notice);
    m_notice = notice;
    if (changed)
        relayout();
    setAccessibleName(m_notice.title);
    setAccessibleDescription(m_notice.text);
    if (!m_guardInstalled && qApp) {
        qApp->installEventFilter(&m_guard);
        m_guardInstalled = true;
    }
    show();
    raise();
}

void NoticeOverlay::hideNotice() {
    if (m_guardInstalled) {
        qApp->removeEventFilter(&m_guard);
        m_guardInstalled = false;
    }
    m_notice = Notice();
    hide();
}

void NoticeOverlay::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), kRed);
    painter.setPen(Qt::white);
    QFont font = baseFont();
    font.setBold(true);
    font.setPixelSize(m_layout.titlePx > 0 ? m_layout.titlePx : kNoticeMinPx);
    painter.setFont(font);
    painter.drawText(m_layout.titleRect, kNoticeTextFlags, m_notice.title);
    if (!m_notice.text.isEmpty()) {
        font.setBold(false);
        font.setPixelSize(m_layout.textPx > 0 ? m_layout.textPx : kNoticeMinPx);
        painter.setFont(font);
        painter.setClipRect(m_layout.textRect);
        painter.drawText(m_layout.textRect, kNoticeTextFlags, m_notice.text);
    }
}

void NoticeOverlay::resizeEvent(QResizeEvent *) {
    relayout();
}

void NoticeOverlay::closeEvent(QCloseEvent *event) {
    // Only the notice file's removal takes the notice away.
    if (m_notice.shown)
        event->ignore();
}

} // namespace kalmo::fleet
