#include "shared/panel_test.h"

#include "db/transaction.h"
#include "runtime/dialogs.h"
#include "shared/connection_panel.h"
#include "shared/sql_server_connect.h"

namespace shared {

void cb_test2_clicked(connection_panel& p) {
  test_connection(p, QStringLiteral("Connectstring='DSN=Kiosk_base;UID=dba;PWD=rutvoplemsk4817'"));
}

void test_connection(connection_panel& p, const QString& local_connect_params, disconnect_at when) {
  rt::Dialogs& dlg = rt::dialogs();
  const connection_set s = read_local_set(p);
  if (s.password != s.confirmation) {
    dlg.failure(QStringLiteral("错误提示"), QStringLiteral("用户密码前后不一致!"));
    p.set_focus(sle::user_password);
    return;
  }
  if (take_kind(p) == 1) {
    // The local kind tries its own fixed data source and account; the typed values are not used.
    sqlca.interface_id = QStringLiteral("ODBC");
    sqlca.auto_commit = false;
    sqlca.connect_params = local_connect_params;
    sqlca.connect();
  } else {
    sql_server_connect(s.server, s.database, s.user, s.password, false);
  }
  const bool connected = sqlca.status == 0;
  if (when == disconnect_at::before_message) sqlca.disconnect();
  if (connected)
    dlg.notice(QStringLiteral("系统提示"),
               QStringLiteral("数据库连接成功，设置正确！\r\n请保存设置!"));
  else
    dlg.failure(QStringLiteral("系统提示"),
                QStringLiteral("数据库连接失败，设置错误！\r\n请不要保存设置!"));
  if (when == disconnect_at::after_message) sqlca.disconnect();
  if (connected) p.cb_save_triggerevent_clicked();
}

}  // namespace shared
