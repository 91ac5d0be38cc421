// The local kind: velmo41.db becomes a copy of velmo40.db, and the purge runs on that copy.
#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "db/backend.h"
#include "db/database_copy.h"
#include "db/odbc_backend.h"
#include "db/transaction.h"
#include "kestrel/rebuild/source_check.h"
#include "kestrel/rebuild/start_action.h"
#include "runtime/files.h"
#include "runtime/registry.h"
#include "shared/f_conect.h"
#include "shared/globals.h"

namespace rebuild {

namespace {

const QString kDsn = QStringLiteral("velmo41");

QString own_velmo41() { return gs_apppath + QStringLiteral("velmo41.db"); }

// A target that cannot give way to the new copy, whatever its attributes: not a file, or held
// open by a program whose later commits would go to a file nobody sees again.
bool blocked(const QString& path) {
  return QFileInfo::exists(path) && (!QFileInfo(path).isFile() || db::file_held_by_server(path) ||
                                     rt::open_by_another_process(path));
}

// A leftover journal or log of a database would be replayed into a new file of its name.
bool remove_companions(const QString& database) {
  bool removed = true;
  for (const QString& f : db::companion_files(database)) removed = rt::remove_file(f) && removed;
  return removed;
}

bool remove_database(const QString& path) {
  return remove_companions(path) && rt::remove_file(path);
}

// Moves the finished copy over the target in one step, so the target is never missing or half
// written. Only now, the source accepted, are the target's attributes cleared.
bool replace_with(const QString& copy, const QString& target) {
  if (blocked(target)) return false;
  if (QFileInfo::exists(target)) {
    rt::set_file_attributes(target, 0);
    if (rt::is_read_only(target)) return false;
  }
  if (!remove_companions(target)) return false;
  std::error_code ec;
  std::filesystem::rename(QFile::encodeName(copy).toStdString(),
                          QFile::encodeName(target).toStdString(), ec);
  return !ec;
}

}  // namespace

bool StartAction::local_path() {
  w_.set_st_11(QStringLiteral("连接数据库1"));
  const QString ls_target = own_velmo41();
  const QString delete_failed_title = QStringLiteral("系统提示") + QStringLiteral("false");
  const QString delete_failed_text =
      QStringLiteral("删除老的目标数据库文件失败,\r\n请手工删除velmo41.db.");
  if (blocked(ls_target)) {
    fail(delete_failed_title, delete_failed_text);
    return false;
  }
  const QString ls_source = gs_apppath + QStringLiteral("velmo40.db");
  w_.hpb_stepit();

  // The old velmo41.db stays, attributes and all, until the new copy is complete and its source
  // accepted. The copy is a snapshot of the old database as committed, also while the salon
  // program has it open.
  const QString ls_copy = ls_target + QStringLiteral(".new");
  db::DbError err;
  if (!remove_database(ls_copy) || !db::copy_database(ls_source, ls_copy, err)) {
    remove_database(ls_copy);
    fail(QStringLiteral("创建数据库失败"), QStringLiteral("生成数据库文件失败！"));
    return false;
  }
  // No chain runs here, so the copy would carry a later release's schema under this program,
  // and the purge would delete members and documents without what its later tables hold of
  // them. The version is read from the copy: the one moment of velmo40.db that would be used.
  const QString newer =
      refused_source_version(QStringLiteral("velmo40.db"), local_database_version(ls_copy));
  if (!newer.isEmpty()) {
    remove_database(ls_copy);
    fail(QStringLiteral("错误提示"), newer);
    return false;
  }
  if (!replace_with(ls_copy, ls_target)) {
    remove_database(ls_copy);
    fail(delete_failed_title, delete_failed_text);
    return false;
  }
  return true;
}

// The purge may run only on this folder's velmo41.db. A data source velmo41 that names another
// file (left by another program folder, or naming the old database) is registered again for
// this folder first; and since f_conect's dialog lets the user pick any file, the file it
// connected to is checked as well.
bool StartAction::connect_local() {
  const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\") + kDsn;
  QString driver;
  if (rt::registry_get(key, QStringLiteral("Driver"), driver) == 1 &&
      !rt::same_file(db::local_engine_file(kDsn), own_velmo41()) &&
      register_in_program_folder(kDsn, QString()) != 1) {
    fail(QStringLiteral("错误信息"), QStringLiteral("数据源velmo41注册失败,\r\n未删除任何数据!"));
    return false;
  }
  gi_connect_time = 1;
  if (s_.f_conect) s_.f_conect(kDsn, QString(), QStringLiteral("dba"), QStringLiteral("kpz531274"));
  if (!sqlca.is_connected() || sqlca.status != 0) {
    fail(QString(), QStringLiteral("连接新数据库失败"));
    return false;
  }
  if (!rt::same_file(sqlca.database_file(), own_velmo41())) {
    fail(QStringLiteral("错误信息"),
         QStringLiteral("数据源velmo41不是本目录的velmo41.db,\r\n未删除任何数据!"));
    return false;
  }
  return true;
}

}  // namespace rebuild
