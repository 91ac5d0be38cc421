#include "shared/panel_create.h"

#include "db/transaction.h"
#include "runtime/dialogs.h"
#include "shared/connection_panel.h"
#include "shared/f_copy_file.h"
#include "shared/globals.h"
#include "shared/sp_attach_db.h"
#include "shared/sql_server_connect.h"

namespace shared {

void cb_create_clicked(connection_panel& p) {
  rt::Dialogs& dlg = rt::dialogs();
  const QString kTitle = QStringLiteral("系统提示");
  if (!p.rb_2_checked()) {
    dlg.failure(kTitle, QStringLiteral("不是SQL Server 7.00 or 2000数据库不能进行创建操作!"));
    return;
  }
  const QString ls_from_mdf = gs_apppath + QStringLiteral("base.mdf");
  const QString ls_from_ldf = gs_apppath + QStringLiteral("base.ldf");
  const connection_set s = read_local_set(p);
  const QString& ls_name = s.database;
  // The name becomes two file names and a literal of the statement: refuse one that would
  // reach outside the program folder or cannot be a file name, before anything is touched.
  if (!database_name_allowed(ls_name)) {
    dlg.failure(QStringLiteral("错误信息"), QStringLiteral("创建数据库失败"));
    return;
  }

  if (!sql_server_connect(s.server, QStringLiteral("master"), s.user, s.password, true)) {
    dlg.failure(QString(), QStringLiteral("连接失败"));
    sqlca.disconnect();
    return;
  }
  if (!dlg.question(kTitle, QStringLiteral("您真的要创建") + ls_name + QStringLiteral("数据库吗？"),
                    false)) {
    sqlca.disconnect();
    return;
  }
  const QString ls_to_mdf = gs_apppath + ls_name + QStringLiteral(".mdf");
  const QString ls_to_ldf = gs_apppath + ls_name + QStringLiteral(".ldf");
  if (f_copy_file(ls_from_mdf, ls_to_mdf) != 0 || f_copy_file(ls_from_ldf, ls_to_ldf) != 0) {
    dlg.failure(QStringLiteral("创建数据库失败"), QStringLiteral("生成数据库文件失败！"));
    sqlca.disconnect();
    return;
  }
  sqlca.execute_immediate(sp_attach_db(ls_name, ls_to_mdf, ls_to_ldf));
  if (sqlca.status != 0) {
    dlg.failure(QStringLiteral("错误信息"), QStringLiteral("创建数据库失败"));
    sqlca.disconnect();
    return;
  }
  sqlca.disconnect();
  dlg.notice(kTitle, QStringLiteral("创建数据库成功!"));
}

}  // namespace shared
