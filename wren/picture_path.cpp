#include "wren/picture_path.h"

#include "wren/app_path.h"
#include "wren/get_ini_value.h"

namespace wren {

QString picture_path() {
  QString path = trim_spaces(GetIniValue(app_path() + QStringLiteral("/user.ini"),
                                         QStringLiteral("database"), QStringLiteral("file_name")));
  if (path.isEmpty() || path == default_picture_path()) return default_picture_path();
  // The settings are written on Windows: a backslash separates folders there.
  return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

}  // namespace wren
