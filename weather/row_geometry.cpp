#include "weather/row_geometry.h"

namespace kalmo::weather {

QRect rowRect(int index, const QSize &panelSize) {
    const int height = panelSize.height() / 4 - 8;
    const int width = panelSize.width() - 10;
    const int top = 5 + index * (height + 1);
    return {5, top, width, height};
}

QRect pictureSlot(const QSize &rowSize) {
    return {rowSize.width() - 92 - 10, 3, 92, 92};
}

int attributionTop(const QRect &lastRow) {
    return lastRow.top() + lastRow.height() + 5;
}

int attributionLeft(int panelWidth, int captionWidth) {
    return panelWidth / 2 - captionWidth / 2;
}

} // namespace kalmo::weather
