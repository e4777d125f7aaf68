#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <vector>

class QPainter;

namespace kalmo::ticker {

// A text rendered once into pixmaps, ready to be blitted at any x offset.
//
// The text is cut into short pieces (at blanks where possible) that are rendered on
// first sight and kept, so a frame costs one or two blits whatever the length of the
// text, and a very long text never needs one giant pixmap: beyond a memory budget only
// the pieces in view are kept.
class TextStrip {
public:
    struct Style {
        QFont font;
        QColor color;
        int height = 0;   // band height in device-independent pixels
        int baseline = 0; // baseline y inside the band
        qreal devicePixelRatio = 1.0;
    };

    static constexpr qsizetype kPieceLength = 64;
    static constexpr qsizetype kBudgetBytes = qsizetype(48) << 20;

    void setContent(const QString &text, const Style &style);
    void clear();

    // Draws the text starting at x, for a view [0, viewWidth).
    void draw(QPainter &painter, qint64 x, int viewWidth);

    qreal width() const { return m_width; }
    int pieceCount() const { return static_cast<int>(m_pieces.size()); }
    qsizetype cachedBytes() const { return m_bytes; }

private:
    struct Piece {
        qsizetype from = 0;
        qsizetype length = 0;
        qreal x = 0;
        qreal advance = 0;
        QPixmap pixmap;
    };

    const QPixmap &pixmapFor(Piece &piece, qsizetype firstVisible, qsizetype lastVisible);
    void dropPiecesOutside(qsizetype firstVisible, qsizetype lastVisible);

    QString m_text;
    Style m_style;
    int m_margin = 0; // room for glyphs that reach beyond their advance
    qreal m_width = 0;
    std::vector<Piece> m_pieces;
    qsizetype m_bytes = 0;
};

// Splits text into pieces of at most maxLength characters, preferring to end a piece
// after a blank and never splitting a surrogate pair or a base from its marks. Gives
// the length of each piece.
std::vector<qsizetype> splitIntoPieces(const QString &text, qsizetype maxLength);

} // namespace kalmo::ticker
