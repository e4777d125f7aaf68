#include "fleet/notice_fit.h"

#include <QFontMetrics>
#include <algorithm>

namespace kalmo::fleet {

namespace {

QFont withPx(QFont font, int px) {
    font.setPixelSize(px);
    return font;
}

QSize measured(const QString &text, const QFont &font, int width) {
    return QFontMetrics(font).boundingRect(QRect(0, 0, width, 0), kNoticeTextFlags, text).size();
}

} // namespace

bool fitsIn(const QString &text, const QFont &font, const QSize &box) {
    const QSize size = measured(text, font, box.width());
    return size.width() <= box.width() && size.height() <= box.height();
}

int largestFittingPx(const QString &text, QFont font, const QSize &box, int maxPx) {
    int lo = kNoticeMinPx; // fits, or the floor
    int hi = std::max(maxPx, kNoticeMinPx);
    if (fitsIn(text, withPx(font, hi), box))
        return hi;
    // Invariant: hi does not fit.
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (fitsIn(text, withPx(font, mid), box))
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

NoticeLayout fitNotice(const QString &title, const QString &text, const QRect &area,
                       const QFont &font) {
    NoticeLayout layout;
    QFont titleFont = font;
    titleFont.setBold(true);
    const int titleBoxHeight =
        text.isEmpty() ? area.height() : static_cast<int>(area.height() * kNoticeTitleShare);
    const QSize titleBox(area.width(), titleBoxHeight);
    layout.titlePx = largestFittingPx(title, titleFont, titleBox, titleBoxHeight);
    const int titleHeight = std::min(
        titleBoxHeight, measured(title, withPx(titleFont, layout.titlePx), area.width()).height());
    layout.titleRect = QRect(area.left(), area.top(), area.width(), titleHeight);
    if (text.isEmpty()) {
        // Alone, the title stands in the middle.
        layout.titleRect.moveTop(area.top() + (area.height() - titleHeight) / 2);
        return layout;
    }
    const int gap = layout.titlePx / 2;
    const QSize textBox(area.width(), std::max(0, area.height() - titleHeight - gap));
    layout.textPx = largestFittingPx(text, font, textBox, layout.titlePx);
    const int textHeight = std::min(
        textBox.height(), measured(text, withPx(font, layout.textPx), area.width()).height());
    // The pair stands in the middle of the area.
    const int top = area.top() + std::max(0, (area.height() - titleHeight - gap - textHeight) / 2);
    layout.titleRect.moveTop(top);
    const int textTop = top + titleHeight + gap;
    layout.textRect =
        QRect(area.left(), textTop, area.width(), area.top() + area.height() - textTop);
    return layout;
}

} // namespace kalmo::fleet
