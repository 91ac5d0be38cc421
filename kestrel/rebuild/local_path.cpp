// The local kind: velmo41.db becomes a copy of velmo40.db.
#include <QFileInfo>
#include <filesystem>

#include "db/backend.h"
#include "kestrel/rebuild/start_action.h"
#include "runtime/files.h"
#include "shared/f_copy_file.h"
#include "shared/globals.h"

namespace rebuild {

namespace {

// Whether the old target can give way to the new copy, once its attributes are cleared.
bool replaceable(const QString& path) {
  return QFileInfo(path).isFile() && !rt::is_read_only(path) && !db::file_held_by_server(path);
}

// Moves the finished copy over the target in one step, so the target is never missing or half
// written.
bool replace_with(const QString& copy, const QString& target) {
  std::error_code ec;
  std::filesystem::rename(copy.toStdString(), target.toStdString(), ec);
  return !ec;
}

}  // namespace

bool StartAction::local_path() {
  w_.set_st_11(QStringLiteral("连接数据库1"));
  const QString ls_target = gs_apppath + QStringLiteral("velmo41.db");
  const QString delete_failed_title = QStringLiteral("系统提示") + QStringLiteral("false");
  const QString delete_failed_text =
      QStringLiteral("删除老的目标数据库文件失败,\r\n请手工删除velmo41.db.");
  const bool had_target = QFileInfo::exists(ls_target);
  if (had_target) {
    rt::set_file_attributes(ls_target, 0);
    if (!replaceable(ls_target)) {
      fail(delete_failed_title, delete_failed_text);
      return false;
    }
  }
  const QString ls_source = gs_apppath + QStringLiteral("velmo40.db");
  w_.hpb_stepit();

  // The old velmo41.db stays until the new copy is complete.
  const QString ls_copy = ls_target + QStringLiteral(".new");
  rt::remove_file(ls_copy);
  if (f_copy_file(ls_source, ls_copy) != 0) {
    rt::delete_file(ls_copy);
    fail(QStringLiteral("创建数据库失败"), QStringLiteral("生成数据库文件失败！"));
    return false;
  }
  if (!replace_with(ls_copy, ls_target)) {
    rt::delete_file(ls_copy);
    fail(delete_failed_title, delete_failed_text);
    return false;
  }
  return true;
}

}  // namespace rebuild
