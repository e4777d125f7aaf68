#pragma once

#include "core/colors.h"

#include <QStyledItemDelegate>
#include <functional>
#include <optional>

namespace kalmo::calendar {

// Draws the month grid's cells: a gap of the grid line width right and below each cell, the
// header row as a gradient, and a day's fill over the grid's own drawing (selection
// included) with its number centred again on top.
class CellDelegate : public QStyledItemDelegate {
public:
    using Fill = std::function<std::optional<core::ColorCode>(int row, int column)>;
    CellDelegate(Fill fill, int lineWidth, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    Fill m_fill;
    int m_line;
};

} // namespace kalmo::calendar
