// The SQL Server kind, up to the emptying: attach velmo41 when needed, export the old
// database's tables to text files, upgrade velmo41, check the files, empty velmo41.
#include "db/transaction.h"
#include "kestrel/rebuild/f_del_b.h"
#include "kestrel/rebuild/start_action.h"
#include "runtime/files.h"
#include "runtime/yield.h"
#include "shared/f_copy_file.h"
#include "shared/globals.h"
#include "shared/sp_attach_db.h"

namespace rebuild {

bool StartAction::attach_velmo41() {
  const QString ls_mdf = gs_apppath + QStringLiteral("base.mdf");
  const QString ls_ldf = gs_apppath + QStringLiteral("base.ldf");
  if (!connect_server(QStringLiteral("master"))) {
    fail(QString(), QStringLiteral("连接失败"));
    sqlca.disconnect();
    return false;
  }
  const QString ls_data = gs_apppath + QStringLiteral("velmo41.mdf");
  const QString ls_log = gs_apppath + QStringLiteral("velmo41.ldf");
  if (f_copy_file(ls_mdf, ls_data) != 0 || f_copy_file(ls_ldf, ls_log) != 0) {
    fail(QStringLiteral("创建数据库失败"), QStringLiteral("生成数据库文件失败！"));
    sqlca.disconnect();
    return false;
  }
  w_.set_st_11(QStringLiteral("附加数据库2"));
  sqlca.execute_immediate(shared::sp_attach_db(QStringLiteral("velmo41"), ls_data, ls_log));
  if (sqlca.status != 0) {
    fail(QStringLiteral("错误信息"), QStringLiteral("创建数据库失败"));
    sqlca.disconnect();
    return false;
  }
  sqlca.disconnect();
  return true;
}

bool StartAction::export_tables() {
  const int last = gi_tables;
  for (int n = 1; n <= last; ++n) {
    w_.set_st_11(QStringLiteral("导出2 -->") + QString::number(n));
    rt::yield();
    if (n == 2) continue;
    const QString file = tab_back_file(n);
    // A file left by an earlier run, read-only or not, must not stand in for a table whose
    // save failed.
    rt::remove_file(file);
    if (ds_back_) {
      ds_back_->set_dataobject(QStringLiteral("tab_back_") + QString::number(n));
      ds_back_->settransobject(sqlca);
      ds_back_->retrieve();
      ds_back_->saveas_text(file);
    }
    if (n == 1 && !rt::file_exists(file)) {
      fail(QStringLiteral("备份失败"), QStringLiteral("请检查备份路径是否存在!"));
      sqlca.disconnect();
      return false;
    }
  }
  return true;
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
      sqlca.disconnect();
      return false;
    }
  }
  return true;
}

bool StartAction::sql_server_path() {
  w_.set_st_11(QStringLiteral("连接数据库2"));
  if (!rt::file_exists(gs_apppath + QStringLiteral("velmo41.mdf")) && !attach_velmo41())
    return false;

  if (!connect_server(ls_database_name_)) {
    fail(QString(), QStringLiteral("连接原始数据库失败"));
    sqlca.disconnect();
    return false;
  }
  if (!export_tables()) return false;
  sqlca.disconnect();
  w_.hpb_stepit();

  if (!connect_server(QStringLiteral("velmo41"))) {
    fail(QString(), QStringLiteral("连接新数据库失败"));
    sqlca.disconnect();
    return false;
  }
  w_.set_st_11(QStringLiteral("升级数据库"));
  // A chain that stopped has shown its own message; nothing is emptied or imported then.
  if (s_.upgrade && !s_.upgrade()) {
    sqlca.disconnect();
    return false;
  }
  if (!check_text_files()) return false;
  if (f_del_b(w_) != 0) {
    sqlca.rollback();
    fail(QStringLiteral("系统提示"), QStringLiteral("删除原数据出错!"));
    sqlca.disconnect();
    return false;
  }
  return import_tables();
}

}  // namespace rebuild
