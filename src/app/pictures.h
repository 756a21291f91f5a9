// The program's own pictures, drawn at start instead of shipped as files: the program picture
// (a house), the window icon made from it, and the start screen's picture.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vestral::app {

QPixmap program_picture(int size);
QIcon program_icon();
QPixmap about_picture(const QString& title, int width, int height);

}  // namespace vestral::app
