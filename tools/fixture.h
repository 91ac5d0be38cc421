#pragma once
// Fixture databases on the embedded server: the base schema with its seed rows, at the
// version a test asks for, as a data file and a log file attached in the program folder.
#include <QString>
#include <optional>

namespace tools {

struct FixtureOptions {
  QString db_name = QStringLiteral("velmo41");
  std::optional<QString> version = QStringLiteral("4.00");  // nullopt: `bb` is null
  bool version_row = true;                                  // false: sys has no row at all
  bool sys_jhzd = false;  // sys with the 25th column that later releases add
};

// Builds the database in gs_apppath (<db_name>.mdf and .ldf, attached on the embedded
// server) and leaves sqlca disconnected. Returns an empty text, or what went wrong.
QString build_fixture(const FixtureOptions& options = {});

// Writes section "database" of gs_inifile as a program folder on the embedded server has it:
// server "(embedded)", the old database's name, user "sa" without a password, the SQL Server
// kind, the local set in use.
void write_server_settings(const QString& database_name = QStringLiteral("velmo40"));

// Connects sqlca to a fixture database the way the Start action connects to the new database
// (SQL Server interface, auto_commit on). True when connected.
bool connect_fixture(const QString& db_name = QStringLiteral("velmo41"));

}  // namespace tools
