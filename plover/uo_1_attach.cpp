#include "plover/uo_1_attach.h"

#include "db/transaction.h"
#include "runtime/dialogs.h"
#include "shared/connection_panel.h"
#include "shared/globals.h"
#include "shared/sp_attach_db.h"
#include "shared/sql_server_connect.h"

namespace plover {
namespace {

const QString kTitle = QStringLiteral("系统提示");

void attach_failed() {
  rt::dialogs().failure(QStringLiteral("错误信息"),
                        QStringLiteral("附加数据库失败,原因:数据库文件不存在或错误!"));
}

}  // namespace

void uo_1_clicked(shared::connection_panel& p) {
  rt::Dialogs& dlg = rt::dialogs();
  if (!p.rb_2_checked()) {
    dlg.failure(kTitle, QStringLiteral("不是SQL Server 7.00 or 2000数据库不能进行创建操作!"));
    return;
  }
  const shared::connection_set s = shared::read_local_set(p);
  const QString& ls_database_name = s.database;
  // The name becomes two paths and a literal of the statement: one that is empty or would
  // reach outside the program folder is refused before the server hears of it.
  if (!shared::database_name_allowed(ls_database_name)) return attach_failed();

  if (!shared::sql_server_connect(s.server, QStringLiteral("master"), s.user, s.password, true)) {
    dlg.failure(QString(), QStringLiteral("连接失败"));
    sqlca.disconnect();
    return;
  }
  if (!dlg.question(
          kTitle, QStringLiteral("您真的要附加") + ls_database_name + QStringLiteral("数据库吗？"),
          false)) {
    sqlca.disconnect();
    return;
  }
  const QString ls_data_file = gs_apppath + ls_database_name + QStringLiteral(".mdf");
  const QString ls_log_file = gs_apppath + ls_database_name + QStringLiteral(".ldf");
  sqlca.execute_immediate(shared::sp_attach_db(ls_database_name, ls_data_file, ls_log_file));
  if (sqlca.status != 0) {
    attach_failed();
    sqlca.disconnect();
    return;
  }
  sqlca.disconnect();
  dlg.notice(kTitle, QStringLiteral("附加数据库成功!"));
}

}  // namespace plover
