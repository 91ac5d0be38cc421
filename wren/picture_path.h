#pragma once
#include <QString>

namespace wren {

// Where the snapshot goes: "file_name" of section "database" in <app_path>/user.ini without
// its surrounding spaces and with its backslashes turned into '/', or <app_path>/000.bmp when
// that is empty or cannot be read. A relative path stays relative to the current folder.
QString picture_path();

}  // namespace wren
