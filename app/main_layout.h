#pragma once

#include <QPoint>
#include <QRect>

namespace kalmo::app {

// Geometry of the main screen's controls, computed from the screen size.
struct MainLayout {
    QRect window;
    QRect panel3;                                    // date
    QRect panel1;                                    // time
    QRect speedButton10;                             // site button
    QRect button21;                                  // video
    QRect button22;                                  // photo
    QRect raspisanie1;                               // calendar
    QRect raspisanie3;                               // schedule
    QRect panel4;                                    // weather panel (empty when hidden)
    QRect panel2;                                    // photo frame
    QRect picShow1;                                  // photo inside the frame
    QPoint label2;                                   // photo caption
    QRect button26;                                  // close button of the site view
    QPoint staticText2;                              // photo name in full-photo mode
    QPoint speedButton1, speedButton2, speedButton3; // site navigation buttons
    bool weather = false;
};

struct MainLayoutInput {
    int width = 0;
    int height = 0;
    bool weather = false;
    int panel3Width = 304;
    int navButtonWidth = 80; // SpeedButton1..3
};

MainLayout computeMainLayout(const MainLayoutInput &in);

// The photo frame's inner rectangle: 10 px inside each side.
inline QRect photoRectIn(const QRect &panel2) {
    return panel2.adjusted(10, 10, -10, -10);
}

} // namespace kalmo::app
