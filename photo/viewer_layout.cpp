#include "photo/viewer_layout.h"

namespace kalmo::photo {

namespace {
constexpr int kPageButtonWidth = 80;
constexpr int kButtonHeight = 68;
constexpr int kCloseButtonWidth = 68;
constexpr int kButtonTop = 10;
constexpr int kMargin = 12;
constexpr int kRowGap = 15;
} // namespace

ViewerLayout ViewerLayout::forScreen(QSize screen) {
    ViewerLayout l;
    const int w = screen.width(), h = screen.height();
    l.window = QRect(0, 0, w, h);
    l.speedButton1 = QRect(w - kPageButtonWidth - 40, kButtonTop, kPageButtonWidth, kButtonHeight);
    l.speedButton2 = QRect(kPageButtonWidth - 40, kButtonTop, kPageButtonWidth, kButtonHeight);
    l.speedButton3 =
        QRect(w / 2 - kCloseButtonWidth / 2, kButtonTop, kCloseButtonWidth, kButtonHeight);
    const int top = l.speedButton2.top() + l.speedButton2.height() + 5;
    l.scrollBox1 = QRect(0, top, w, h - l.speedButton2.top() - l.speedButton2.height() - 10);
    l.thumbnail = QSize(w / 4 - 16, h / 4 - 40);
    return l;
}

QRect ViewerLayout::thumbnailRect(int number) const {
    const int column = (number - 1) / 4, row = (number - 1) % 4;
    return QRect(kMargin + column * (thumbnail.width() + kMargin),
                 kMargin + row * (thumbnail.height() + kRowGap), thumbnail.width(),
                 thumbnail.height());
}

QSize ViewerLayout::thumbnailArea() const {
    const QRect last = thumbnailRect(16);
    return QSize(last.right() + 1, last.bottom() + 1);
}

QPoint ViewerLayout::nameImagePos(QSize panel, int width) {
    // Below the picture area, which runs from 30 to 60 above the bottom.
    return QPoint(panel.width() / 2 - width / 2, panel.height() - 55);
}

QPoint ViewerLayout::imageMinimizePos(QSize panel, int width) {
    return QPoint(panel.width() - width - 20, 5);
}

} // namespace kalmo::photo
