// The SQL Server kind, up to the emptying: check the source, attach velmo41 when needed, export
// the old database's tables to text files, upgrade velmo41, check the files, empty velmo41.
#include <optional>

#include "db/transaction.h"
#include "kestrel/rebuild/connection_guard.h"
#include "kestrel/rebuild/f_del_b.h"
#include "kestrel/rebuild/start_action.h"
#include "kestrel/rebuild/tab_back_tables.h"
#include "runtime/files.h"
#include "runtime/yield.h"
#include "shared/globals.h"
#include "shared/show_sql_error.h"

namespace rebuild {

namespace {

// Every table is read as of one moment, so that a program writing meanwhile cannot leave
// velmo41 with deposits without their member or documents without their items: one read
// transaction, at snapshot isolation where the server offers it (SQL Server 2005 on, when the
// database allows it; the embedded server's transactions read one moment anyway). Without
// snapshot isolation a real server reads each table at its own moment (the README says so).
// Nothing is written in it, and the old database is never locked against reading. True when
// the transaction is open.
bool begin_one_moment() {
  const auto row = sqlca.select_row(QStringLiteral(
      "select snapshot_isolation_state from sys.databases where name = db_name ( )"));
  if (sqlca.status == 0 && !row.empty() && row[0].to_integer() == 1)
    sqlca.execute_immediate(QStringLiteral("SET TRANSACTION ISOLATION LEVEL SNAPSHOT"));
  return sqlca.begin_unit();
}

}  // namespace

// A table that could not be read or saved stops the run before anything is emptied: only a
// table that does not exist exports as empty.
StartAction::ExportFailure StartAction::table_not_exported(int n) {
  show_sql_error();
  return ExportFailure{QStringLiteral("备份失败"),
                       QStringLiteral("导出表: ") + QString::fromLatin1(tab_back_table(n)->table) +
                           QStringLiteral("失败!")};
}

std::optional<StartAction::ExportFailure> StartAction::save_tables() {
  const int last = gi_tables;
  for (int n = 1; n <= last; ++n) {
    w_.set_st_11(QStringLiteral("导出2 -->") + QString::number(n));
    rt::yield();
    if (n == 2) continue;
    const QString file = tab_back_file(n);
    // A file left by an earlier run, read-only or not, must not stand in for a table whose
    // save failed.
    rt::remove_file(file);
    long rows = 0;
    int saved = 1;
    if (ds_back_) {
      ds_back_->set_dataobject(QStringLiteral("tab_back_") + QString::number(n));
      ds_back_->settransobject(sqlca);
      rows = ds_back_->retrieve();
      if (rows < 0) return table_not_exported(n);
      saved = ds_back_->saveas_text(file);
    }
    if (n == 1 && !rt::file_exists(file))
      return ExportFailure{QStringLiteral("备份失败"), QStringLiteral("请检查备份路径是否存在!")};
    if (saved != 1) return table_not_exported(n);
    exported_[n] = rows;
  }
  return std::nullopt;
}

bool StartAction::export_tables() {
  exported_.clear();
  const bool one_moment = begin_one_moment();
  const std::optional<ExportFailure> failure = save_tables();
  // Read only: there is nothing to keep.
  if (one_moment) sqlca.end_unit(false);
  if (failure) fail(failure->title, failure->text);
  return !failure;
}

bool StartAction::check_text_files() {
  // Every exported number, so that no table is emptied without its rows at hand.
  for (int n = gi_tables; n >= 1; --n) {
    rt::yield();
    w_.set_st_11(QStringLiteral("检查数据"));
    if (n == 2) continue;
    if (!rt::file_exists(tab_back_file(n))) {
      fail(QStringLiteral("错误信息"),
           QStringLiteral("要恢复的数据文件并不存在，请检查后重新恢复!"));
      return false;
    }
  }
  return true;
}

bool StartAction::sql_server_path() {
  w_.set_st_11(QStringLiteral("连接数据库2"));
  // A refused source leaves the folder and the catalog as they were: nothing is attached, copied
  // or set aside for it.
  if (!source_accepted()) return false;
  if (!attach_velmo41()) return false;

  {
    const ConnectionGuard old_database;
    if (!connect_old_database()) return false;
    if (!export_tables()) return false;
  }
  w_.hpb_stepit();

  {
    ConnectionGuard upgrading;
    if (!connect_velmo41()) return false;
    w_.set_st_11(QStringLiteral("升级数据库"));
    // A chain that stopped has shown its own message; nothing is emptied or imported then, and
    // the status line says so.
    if (s_.upgrade && !s_.upgrade()) {
      upgrading.end();
      w_.set_st_11(QStringLiteral("升级数据库失败,已停止,数据未改动!"));
      return false;
    }
    if (!check_text_files()) return false;
  }
  // The emptying and the import are one transaction, on a connection of their own with
  // auto_commit off: a failure or a crash anywhere in them leaves velmo41 as it was, so the
  // text files are never the only copy of a row (the old database may be velmo41 itself).
  const ConnectionGuard refilling;
  if (!connect_velmo41(false)) return false;
  if (f_del_b(w_) != 0) {
    sqlca.rollback();
    fail(QStringLiteral("系统提示"), QStringLiteral("删除原数据出错!"));
    return false;
  }
  return import_tables();
}

}  // namespace rebuild
