#pragma once
// An old salon database "velmo40" for demonstrations and benchmarks: the base schema with its
// seed rows and generated business rows (members, cards, deposits, documents with items and
// wares, stock, employees, wages, attendance, appointments, messages) in the tables it has,
// at its version. A few rows of the
// tables whose key the rebuild's import checks have a null or blank key.
#include <QString>
#include <map>

namespace tools {

struct OldDatabaseOptions {
  QString db_name = QStringLiteral("velmo40");
  QString version = QStringLiteral("4.00");
  // Rows per table; tables not named get none beyond their seed rows.
  std::map<QString, long> rows = demo_rows();
  bool blank_keys = true;
  // Upgraded to 16.10 before the rows go in, so that it has every table.
  bool upgraded = false;

  static std::map<QString, long> demo_rows();
};

// Builds and attaches the database in gs_apppath; sqlca ends disconnected. An empty text, or
// what went wrong.
QString build_old_database(const OldDatabaseOptions& options = {});

// How many rows with a null or blank key build_old_database adds to a table (0 for most).
int blank_key_rows(const QString& table);

}  // namespace tools
