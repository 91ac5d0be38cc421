#include "plover/pictures.h"

#include "runtime/files.h"
#include "shared/globals.h"

// The resource copies live in a static library: pull them in by name.
static void init_resources() { Q_INIT_RESOURCE(plover); }

namespace plover {
namespace {

// The runtime looked pictures up beside the program first; the resource copy is the fallback,
// also for a file there that is not a picture.
QPixmap load(const QString& name) {
  init_resources();
  const QString beside = gs_apppath + name;
  if (rt::file_exists(beside)) {
    QPixmap p(beside);
    if (!p.isNull()) return p;
  }
  return QPixmap(QStringLiteral(":/plover/") + name);
}

}  // namespace

QPixmap database_bmp() { return load(QStringLiteral("database.bmp")); }

QIcon house_ico() { return QIcon(load(QStringLiteral("house.ico"))); }

}  // namespace plover
