#pragma once

#include <QRect>
#include <QSize>

namespace kalmo::photo {

// Where the photo viewer's controls go on a screen of a given size.
struct ViewerLayout {
    QRect window;
    QRect speedButton1; // next page, top right
    QRect speedButton2; // previous page, top left
    QRect speedButton3; // close, top centre
    QRect scrollBox1;   // the thumbnails' area below the buttons
    QSize thumbnail;

    static ViewerLayout forScreen(QSize screen);

    // Thumbnail `number` (1..16) in scroll-box coordinates: four columns of four, filled
    // column by column and top to bottom.
    QRect thumbnailRect(int number) const;
    // The area the thumbnails take inside the scroll box (what it scrolls over).
    QSize thumbnailArea() const;

    // The full view: the caption's top left for a caption of `width`, and the close
    // button's top left for a button of `width`, on a panel of `panel` size.
    static QPoint nameImagePos(QSize panel, int width);
    static QPoint imageMinimizePos(QSize panel, int width);
};

} // namespace kalmo::photo
