#pragma once
#include <QString>

namespace wren {

// wren's own folder, without a trailing '/'. The program sets it from its executable; tests set
// a folder of their own.
QString app_path();
void set_app_path(const QString& folder);

// The picture path when the settings name none: <app_path>/000.bmp.
QString default_picture_path();

// The space character only, from both ends (tabs and line ends stay).
QString trim_spaces(const QString& text);

}  // namespace wren
