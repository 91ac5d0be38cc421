#pragma once
// Setting files aside with each rename named in kv_log.txt, as kestrel and plover do before
// their template copies.
#include <QString>
#include <functional>
#include <vector>

#include "runtime/set_aside.h"

namespace shared {

// Sets `files` aside (rt::set_aside) and names in kv_log.txt, under `tag`, each file that stands
// under a new name afterwards: through `line` after a set-aside, and as left renamed
// ("…已改名为…,未能改回原名") after a failure whose undo failed too. The suffix, or an empty text
// when the files could not be set aside.
QString set_aside_logged(const std::vector<rt::AsideFile>& files, const QString& reason,
                         const QString& tag,
                         const std::function<QString(const rt::Renamed&)>& line);

}  // namespace shared
