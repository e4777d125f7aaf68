#pragma once

#include <QPixmap>

namespace kalmo::photo {

// Pictures of the viewer's three buttons, white strokes on black like the site view's.
QPixmap nextPagePicture();     // double chevron pointing right, 80 x 68
QPixmap previousPagePicture(); // double chevron pointing left, 80 x 68
QPixmap closePicture();        // a cross, 68 x 68

} // namespace kalmo::photo
