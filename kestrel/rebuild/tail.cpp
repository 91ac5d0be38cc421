// The common end of both kinds: connect to velmo41, purge by the keep options, commit once.
#include "db/transaction.h"
#include "kestrel/rebuild/keep_options.h"
#include "kestrel/rebuild/purge.h"
#include "kestrel/rebuild/start_action.h"
#include "runtime/dialogs.h"
#include "shared/show_sql_error.h"

namespace rebuild {

void StartAction::tail() {
  w_.set_st_11(QStringLiteral("复制完成!"));
  w_.hpb_stepit();
  // The keep options may have changed while the run yielded.
  if (!keep_options_readable(w_)) return;
  // The purge is one transaction on either kind (the local connection has auto_commit off):
  // a failure or a crash anywhere in it leaves velmo41 as the copy or the import left it, never
  // documents without their items or members without their side tables.
  if (w_.panel().ii_database() == 1) {
    if (!connect_local()) return;
  } else if (!connect_server(QStringLiteral("velmo41"), false)) {
    fail(QString(), QStringLiteral("连接新数据库失败"));
    sqlca.disconnect();
    return;
  }
  if (run_purge_groups(w_)) sqlca.commit();
  if (sqlca.status != 0) {
    // Nothing of the purge may look stored when it is not.
    show_sql_error();
    sqlca.rollback();
    fail(QStringLiteral("系统提示"), QStringLiteral("保存数据出错!"));
    sqlca.disconnect();
    return;
  }
  sqlca.disconnect();
  w_.hpb_stepit();
  rt::dialogs().notice(QStringLiteral("系统提示"), QStringLiteral("数据库处理完毕!"));
}

}  // namespace rebuild
