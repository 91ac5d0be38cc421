#include "shared/f_copy_file.h"

#include "db/backend.h"
#include "runtime/files.h"

int f_copy_file(const QString& fs_from, const QString& fs_to) {
  if (db::file_held_by_server(fs_to)) return -1;
  const bool lb_rtn = rt::copy_file(fs_from, fs_to);
  return lb_rtn ? 0 : -1;
}
