#include "app/main_layout.h"

namespace kalmo::app {

MainLayout computeMainLayout(const MainLayoutInput &in) {
    const int W = in.width;
    const int H = in.height;
    MainLayout l;
    l.weather = in.weather;
    l.window = QRect(0, 0, W, H);
    l.panel3 = QRect(6, 3, in.panel3Width, 80);
    l.panel1 = QRect(l.panel3.x(), l.panel3.y() + l.panel3.height() + 3, in.panel3Width,
                     l.panel3.height());

    const int siteLeft = l.panel3.x() + l.panel3.width();
    const int bw = (W - siteLeft) / 3 - 3;
    l.speedButton10 = QRect(siteLeft, l.panel3.y(), bw, l.panel1.y() + l.panel1.height() - 3);
    l.button21 = QRect(siteLeft + bw + 3, l.speedButton10.y(), bw, 80);
    l.button22 = QRect(l.button21.x() + bw + 3, l.speedButton10.y(), bw, 80);
    l.raspisanie1 = QRect(l.button21.x(), l.button21.y() + 80 + 3, bw, 80);
    l.raspisanie3 = QRect(l.raspisanie1.x() + bw + 3, l.raspisanie1.y(), bw, 80);

    const int band = l.raspisanie1.y() + l.raspisanie1.height() + 3;
    if (in.weather) {
        l.panel4 = QRect(l.panel1.x(), band, l.panel1.width(), H - 250);
        l.panel2 = QRect(l.panel4.x() + l.panel4.width(), band, W - l.panel4.width() - 10, H - 250);
    } else {
        l.panel2 = QRect(l.panel1.x(), band, W - 10, H - 250);
    }
    l.picShow1 = photoRectIn(l.panel2);
    l.label2 = QPoint(l.panel2.x() + 50, l.panel2.y() + l.panel2.height() + 5);
    l.button26 = QRect(W - 425 - 10, l.panel3.y(), 425, 96);
    l.staticText2 = QPoint(l.panel2.x() + 40, H - 60);

    const int navTop = l.speedButton10.y() + 10;
    l.speedButton1 = QPoint(40, navTop);
    l.speedButton2 = QPoint(l.speedButton1.x() + in.navButtonWidth + 40, navTop);
    l.speedButton3 = QPoint(l.speedButton2.x() + in.navButtonWidth + 40, navTop);

    return l;
}

} // namespace kalmo::app
