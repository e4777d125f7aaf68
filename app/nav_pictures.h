#pragma once

#include <QPixmap>

namespace kalmo::app {

// Pictures of the site view's navigation buttons, white on black.
QPixmap backPicture();    // double chevron pointing left, 80 x 64
QPixmap homePicture();    // house outline, 80 x 80
QPixmap forwardPicture(); // double chevron pointing right, 80 x 64

} // namespace kalmo::app
