#pragma once

#include <QPixmap>

namespace kalmo::core {

// The kiosk's own button pictures, drawn in one look for every screen: white round strokes on
// black.
QPixmap chevronPicture(bool pointingLeft, int height = 64); // double chevron, 80 wide
QPixmap housePicture();                                     // house outline, 80 x 80
QPixmap crossPicture();                                     // a cross, 68 x 68

} // namespace kalmo::core
