#include "db/local_engine_probe.h"

namespace db {

bool local_engine_holds_tables(Backend& b, const QString& file, DbError& err) {
  long tables = -1;
  if (std::unique_ptr<Statement> st =
          b.prepare(QStringLiteral("select count(*) from sqlite_master where type = 'table'"), err);
      st && st->execute(err) && st->fetch(err))
    tables = static_cast<long>(st->column(0).to_integer());
  // With auto-commit off the read opened a transaction: end it, so that no lock outlives the
  // check.
  DbError ignored;
  b.rollback(ignored);
  if (tables > 0) return true;
  if (tables == 0 || err.text.isEmpty())
    err = {-1, QStringLiteral("数据库文件中没有任何表: %1").arg(file)};
  else
    err.text = QStringLiteral("数据库文件不是数据库: %1: %2").arg(file, err.text);
  return false;
}

}  // namespace db
