// The common end of both kinds: connect to velmo41, purge by the keep options, commit once.
#include "db/transaction.h"
#include "kestrel/rebuild/connection_guard.h"
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
  ConnectionGuard velmo41;
  const bool connected = w_.panel().ii_database() == 1 ? connect_local() : connect_velmo41(false);
  if (!connected) return;
  if (run_purge_groups(w_)) sqlca.commit();
  if (sqlca.status != 0) {
    // Nothing of the purge may look stored when it is not.
    show_sql_error();
    sqlca.rollback();
    fail(QStringLiteral("系统提示"), QStringLiteral("保存数据出错!"));
    return;
  }
  // The success box comes once velmo41 is let go.
  velmo41.end();
  w_.hpb_stepit();
  rt::dialogs().notice(QStringLiteral("系统提示"), QStringLiteral("数据库处理完毕!"));
}

}  // namespace rebuild
