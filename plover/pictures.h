#pragma once
// The window's pictures: a file of that name in the program folder, else the copy carried in
// the program's resources.
#include <QIcon>
#include <QPixmap>

namespace plover {

QPixmap database_bmp();  // the banner at the top of the window
QIcon house_ico();       // the window's icon

}  // namespace plover
