#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

namespace kalmo::fleet {

// How the notice's two parts are drawn: each as large as fits, the title on top. Sizes are
// pixel sizes of `font` (the title bold), the rectangles lie inside the area given.
struct NoticeLayout {
    int titlePx = 0;
    int textPx = 0;
    QRect titleRect;
    QRect textRect;
};

// Text flags both the fitting and the drawing use, so what was measured is what is drawn.
inline constexpr int kNoticeTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

// The smallest size drawn; below it a very long notice is cut off rather than unreadable.
inline constexpr int kNoticeMinPx = 8;

// The title takes at most this share of the height when there is a text below it.
inline constexpr double kNoticeTitleShare = 0.4;

// Whether `text` drawn word-wrapped with `font` fits `box` (no word wider than the box).
bool fitsIn(const QString &text, const QFont &font, const QSize &box);

// The largest pixel size from kNoticeMinPx to maxPx at which `text` fits `box`; kNoticeMinPx
// when none does.
int largestFittingPx(const QString &text, QFont font, const QSize &box, int maxPx);

// The title as large as fits its share of the area, then the text as large as fits the
// rest, never larger than the title.
NoticeLayout fitNotice(const QString &title, const QString &text, const QRect &area,
                       const QFont &font);

} // namespace kalmo::fleet
