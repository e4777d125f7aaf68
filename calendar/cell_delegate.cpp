#include "calendar/cell_delegate.h"

#include <QLinearGradient>
#include <QPainter>

namespace kalmo::calendar {

namespace {
const QColor kFixedColour(0xF0, 0xFB, 0xFF);
}

CellDelegate::CellDelegate(Fill fill, int lineWidth, QObject *parent)
    : QStyledItemDelegate(parent), m_fill(std::move(fill)), m_line(lineWidth) {}

void CellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const {
    const QRect cell = option.rect.adjusted(0, 0, -m_line, -m_line);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (index.row() == 0) {
        QLinearGradient gradient(cell.topLeft(), cell.bottomLeft());
        gradient.setColorAt(0, kFixedColour);
        gradient.setColorAt(1, Qt::black);
        painter->fillRect(cell, gradient);
        painter->setFont(option.font);
        painter->setPen(QColor(0, 0, 0, 110));
        painter->drawText(cell.translated(1, 1), Qt::AlignCenter, text);
        painter->setPen(Qt::white);
        painter->drawText(cell, Qt::AlignCenter, text);
        return;
    }

    QStyleOptionViewItem own = option;
    own.rect = cell;
    own.displayAlignment = Qt::AlignCenter;
    own.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, own, index);

    const std::optional<core::ColorCode> fill =
        m_fill ? m_fill(index.row(), index.column()) : std::nullopt;
    if (!fill)
        return;
    const QColor colour = core::toQColor(*fill, option.palette);
    if (colour.isValid())
        painter->fillRect(cell, colour);
    const bool selected = option.state & QStyle::State_Selected;
    painter->setFont(option.font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, text);
}

} // namespace kalmo::calendar
