#include "shared/show_sql_error.h"

#include <QDateTime>
#include <QFile>

#include "db/transaction.h"
#include "runtime/codepage.h"
#include "shared/globals.h"

int show_sql_error() {
  const QString ls_file = gs_apppath + QStringLiteral("kv_log.txt");
  if (sqlca.status >= 0) return 0;
  const QString ls_error =
      QStringLiteral("DBERR: ") +
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
      QStringLiteral("-->") + QString::number(sqlca.db_error_code) + QStringLiteral("-->") +
      sqlca.db_error_text;
  // Opened and closed per entry, so another program may read the log meanwhile.
  QFile f(ls_file);
  if (f.open(QIODevice::WriteOnly | QIODevice::Append)) {
    f.write(rt::to_cp936(ls_error) + "\r\n");
    f.close();
  }
  return -1;
}
