#include "kestrel/rebuild/run_log.h"

#include "db/transaction.h"
#include "shared/show_sql_error.h"

namespace rebuild {

void log_line(const QString& text) {
  const long status = sqlca.status;
  const long code = sqlca.db_error_code;
  const QString error = sqlca.db_error_text;
  sqlca.status = -1;
  sqlca.db_error_code = 0;
  sqlca.db_error_text = text;
  show_sql_error();
  sqlca.status = status;
  sqlca.db_error_code = code;
  sqlca.db_error_text = error;
}

}  // namespace rebuild
