#include "ticker/text_strip.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kalmo::ticker {

namespace {

bool joinsPrevious(QChar c) {
    if (c.isLowSurrogate())
        return true;
    const QChar::Category cat = c.category();
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining ||
           cat == QChar::Mark_Enclosing;
}

} // namespace

std::vector<qsizetype> splitIntoPieces(const QString &text, qsizetype maxLength) {
    std::vector<qsizetype> lengths;
    const qsizetype n = text.size();
    qsizetype from = 0;
    while (from < n) {
        qsizetype end = std::min(n, from + std::max<qsizetype>(maxLength, 1));
        if (end < n) {
            // Prefer a cut right after a blank in the second half of the piece.
            for (qsizetype i = end; i > from + maxLength / 2; --i) {
                if (text.at(i - 1).isSpace()) {
                    end = i;
                    break;
                }
            }
            qsizetype safe = end;
            while (safe > from + 1 && joinsPrevious(text.at(safe)))
                --safe;
            if (safe > from + 1 || !joinsPrevious(text.at(safe)))
                end = safe;
            else // one endless cluster: cut after it instead
                while (end < n && joinsPrevious(text.at(end)))
                    ++end;
        }
        lengths.push_back(end - from);
        from = end;
    }
    return lengths;
}

void TextStrip::clear() {
    m_text.clear();
    m_pieces.clear();
    m_width = 0;
    m_bytes = 0;
}

void TextStrip::setContent(const QString &text, const Style &style) {
    clear();
    m_text = text;
    m_style = style;
    const QFontMetricsF fm(style.font);
    m_margin = static_cast<int>(std::ceil(fm.height() / 2));
    qreal x = 0;
    qsizetype from = 0;
    for (qsizetype length : splitIntoPieces(text, kPieceLength)) {
        Piece piece;
        piece.from = from;
        piece.length = length;
        piece.x = x;
        piece.advance = fm.horizontalAdvance(QStringView(text).mid(from, length).toString());
        x += piece.advance;
        from += length;
        m_pieces.push_back(std::move(piece));
    }
    m_width = x;
}

void TextStrip::dropPiecesOutside(qsizetype firstVisible, qsizetype lastVisible) {
    for (qsizetype i = 0; i < static_cast<qsizetype>(m_pieces.size()); ++i) {
        if (i >= firstVisible && i <= lastVisible)
            continue;
        Piece &p = m_pieces[static_cast<size_t>(i)];
        if (!p.pixmap.isNull()) {
            m_bytes -= p.pixmap.width() * qsizetype(p.pixmap.height()) * 4;
            p.pixmap = QPixmap();
        }
    }
}

const QPixmap &TextStrip::pixmapFor(Piece &piece, qsizetype firstVisible, qsizetype lastVisible) {
    if (!piece.pixmap.isNull())
        return piece.pixmap;
    const qreal dpr = m_style.devicePixelRatio > 0 ? m_style.devicePixelRatio : 1.0;
    const int w = static_cast<int>(std::ceil(piece.advance)) + 2 * m_margin + 1;
    const int h = std::max(1, m_style.height);
    const qsizetype bytes = qsizetype(std::ceil(w * dpr)) * qsizetype(std::ceil(h * dpr)) * 4;
    if (m_bytes + bytes > kBudgetBytes)
        dropPiecesOutside(firstVisible, lastVisible);

    QPixmap pm(QSize(static_cast<int>(std::ceil(w * dpr)), static_cast<int>(std::ceil(h * dpr))));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(m_style.font);
        p.setPen(m_style.color);
        // The piece is blitted at a whole pixel; its fraction moves into the pixmap.
        const qreal frac = piece.x - std::floor(piece.x);
        p.drawText(QPointF(m_margin + frac, m_style.baseline),
                   QStringView(m_text).mid(piece.from, piece.length).toString());
    }
    m_bytes += pm.width() * qsizetype(pm.height()) * 4;
    piece.pixmap = std::move(pm);
    return piece.pixmap;
}

void TextStrip::draw(QPainter &painter, qint64 x, int viewWidth) {
    if (m_pieces.empty())
        return;
    // Pieces are ordered by x: find the first that reaches into the view.
    const qreal left = static_cast<qreal>(-x) - m_margin;
    const qreal right = static_cast<qreal>(viewWidth - x) + m_margin;
    auto first = std::upper_bound(m_pieces.begin(), m_pieces.end(), left,
                                  [](qreal v, const Piece &p) { return v < p.x + p.advance; });
    auto last = first;
    while (last != m_pieces.end() && last->x < right)
        ++last;
    if (first == last)
        return;
    const qsizetype firstIndex = first - m_pieces.begin();
    const qsizetype lastIndex = (last - m_pieces.begin()) - 1;
    for (auto it = first; it != last; ++it) {
        const QPixmap &pm = pixmapFor(*it, firstIndex, lastIndex);
        const qint64 px = x + static_cast<qint64>(std::floor(it->x)) - m_margin;
        painter.drawPixmap(QPointF(static_cast<qreal>(px), 0), pm);
    }
}

} // namespace kalmo::ticker
