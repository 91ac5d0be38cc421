#include "db/system_databases.h"

namespace db {

std::optional<DbError> system_database_refusal(const QString& name) {
  for (const char* system : {"master", "model", "msdb", "tempdb"})
    if (name.trimmed().compare(QLatin1String(system), Qt::CaseInsensitive) == 0)
      return DbError{1801, QStringLiteral("Database '%1' already exists. Choose a different "
                                          "database name.")
                               .arg(name)};
  return std::nullopt;
}

}  // namespace db
