#pragma once
// The program's picture, drawn rather than shipped: a printed sheet with a
// cut line, used for the window icon, the splash and the about box.
#include <QPixmap>

namespace corvan {

QPixmap AppIcon(int size);
// The splash picture (640 x 389).
QPixmap SplashPicture();

}  // namespace corvan
