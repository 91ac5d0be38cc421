#include "shared/show_sql_error.h"

#include "db/transaction.h"
#include "shared/kv_log.h"

int show_sql_error() {
  if (sqlca.status >= 0) return 0;
  append_kv_log(kv_log_line(
      QStringLiteral("DBERR"),
      QString::number(sqlca.db_error_code) + QStringLiteral("-->") + sqlca.db_error_text));
  return -1;
}
