#pragma once

#include <QRect>
#include <QSize>

namespace kalmo::weather {

// Rows stack from the panel's top: a quarter of its height each, less 8 px, with a
// 1 px gap; 5 px margin on the left and at the top.
QRect rowRect(int index, const QSize &panelSize);

// Picture of a row: 92 x 92 before loading, 10 px from the row's right edge, top 3.
QRect pictureSlot(const QSize &rowSize);

// The attribution caption sits 5 px under the last row, centred on the panel.
int attributionTop(const QRect &lastRow);
int attributionLeft(int panelWidth, int captionWidth);

} // namespace kalmo::weather
