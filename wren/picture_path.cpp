#include "wren/picture_path.h"

#include "wren/app_path.h"
#include "wren/get_ini_value.h"

namespace wren {

QString picture_path() {
  const QString path =
      trim_spaces(GetIniValue(app_path() + QStringLiteral("/user.ini"), QStringLiteral("database"),
                              QStringLiteral("file_name")));
  return path.isEmpty() ? default_picture_path() : path;
}

}  // namespace wren
