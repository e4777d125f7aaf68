#include "calendar/day_tile.h"

#include <QAbstractTextDocumentLayout>
#include <QEnterEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>

namespace kalmo::calendar {

namespace {
// A hostile picture must not take the kiosk's memory.
constexpr int kAllocationLimitMb = 256;
} // namespace

DayTile::DayTile(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("AdvMetroTile1"));
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    setFont(tileFont());
}

void DayTile::setLook(const TileLook &look) {
    m_look = look;
    setFont(tileFont());
    update();
}

void DayTile::setFontSize(int points) {
    m_look.fontSize = points;
    setFont(tileFont());
    update();
}

void DayTile::setFontName(const QString &family) {
    m_look.fontName = family;
    setFont(tileFont());
    update();
}

QFont DayTile::tileFont() const {
    QFont f(m_look.fontName);
    if (m_look.fontSize > 0)
        f.setPointSize(m_look.fontSize);
    return f;
}

QImage DayTile::readPicture(const QString &path, const QSize &tileSize) {
    if (path.trimmed().isEmpty() || !QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    reader.setAllocationLimit(kAllocationLimitMb);
    reader.setAutoTransform(true);
    // Decode no larger than needed to fill the tile.
    const QSize full = reader.size();
    if (full.isValid() && !tileSize.isEmpty()) {
        const QSize fill = full.scaled(tileSize, Qt::KeepAspectRatioByExpanding);
        if (fill.width() < full.width())
            reader.setScaledSize(fill);
    }
    return reader.read();
}

void DayTile::loadPicture(const QString &path) {
    setPicture(readPicture(path, size()));
}

void DayTile::setPicture(const QImage &picture) {
    m_picture = picture;
    update();
}

void DayTile::clearPicture() {
    m_picture = QImage();
    update();
}

void DayTile::setText(const QString &html) {
    m_html = html;
    setAccessibleName(plainText());
    update();
}

QString DayTile::plainText() const {
    QTextDocument doc;
    doc.setHtml(m_html);
    return doc.toPlainText().trimmed();
}

void DayTile::setState(State state) {
    if (state == m_state)
        return;
    m_state = state;
    update();
}

void DayTile::enterEvent(QEnterEvent *event) {
    m_hovered = true;
    if (m_state == State::Normal)
        setState(State::Hover);
    QWidget::enterEvent(event);
}

void DayTile::leaveEvent(QEvent *event) {
    m_hovered = false;
    if (m_state == State::Hover)
        setState(State::Normal);
    QWidget::leaveEvent(event);
}

void DayTile::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        setState(State::Down);
    event->accept();
}

void DayTile::mouseReleaseEvent(QMouseEvent *event) {
    const bool wasDown = m_state == State::Down;
    const bool inside = rect().contains(event->position().toPoint());
    setState(inside && m_hovered ? State::Hover : State::Normal);
    event->accept();
    if (wasDown && inside && event->button() == Qt::LeftButton)
        emit clicked();
}

void DayTile::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QRect r = rect();
    core::ColorCode background = m_look.hover, border = core::kColorNone, text = m_look.text;
    if (m_state == State::Hover) {
        border = m_look.hoverBorder;
        text = m_look.hoverText;
    } else if (m_state == State::Down) {
        background = m_look.down;
        border = m_look.downBorder;
        text = m_look.downText;
    }
    const QColor backgroundColour = core::toQColor(background, palette());
    if (backgroundColour.isValid())
        p.fillRect(r, backgroundColour);
    if (!m_picture.isNull()) {
        // Scaled to fill the tile, the overflow cut evenly on both sides.
        const QSize fill = m_picture.size().scaled(r.size(), Qt::KeepAspectRatioByExpanding);
        const QRect target(r.center().x() - fill.width() / 2 + 1,
                           r.center().y() - fill.height() / 2 + 1, fill.width(), fill.height());
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, m_picture);
        // A pressed tile shows its pressed colour through the picture.
        if (m_state == State::Down && backgroundColour.isValid()) {
            QColor veil = backgroundColour;
            veil.setAlphaF(0.45f);
            p.fillRect(r, veil);
        }
    }

    if (!m_html.isEmpty()) {
        QTextDocument doc;
        doc.setDefaultFont(font());
        doc.setHtml(m_html);
        doc.setTextWidth(r.width());
        QAbstractTextDocumentLayout::PaintContext ctx;
        const QColor textColour = core::toQColor(text, palette());
        ctx.palette.setColor(QPalette::Text,
                             textColour.isValid() ? textColour : palette().color(QPalette::Text));
        const qreal top = qMax<qreal>(0, (r.height() - doc.size().height()) / 2);
        p.save();
        p.translate(0, top);
        p.setClipRect(QRectF(0, -top, r.width(), r.height()));
        doc.documentLayout()->draw(&p, ctx);
        p.restore();
    }

    const QColor borderColour = core::toQColor(border, palette());
    if (borderColour.isValid() && borderColour.alpha() > 0) {
        p.setPen(QPen(borderColour, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(r).adjusted(1, 1, -1, -1));
    }
}

} // namespace kalmo::calendar
