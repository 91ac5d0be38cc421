#pragma once
// The connection object of the programs (`sqlca`): set its fields, connect, run statements,
// read `status` after each one. A failing statement only sets `status`; it never throws.
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "db/backend.h"
#include "db/value.h"

namespace db {

class Transaction {
 public:
  // Set before connecting; a field a caller does not set keeps its last value.
  QString interface_id;  // "ODBC" or "MSS Microsoft SQL Server 6.x"
  QString server;
  QString db_name;
  QString login;
  QString password;
  QString connect_params;  // ODBC: "Connectstring='DSN=…;UID=…;PWD=…'"
  bool auto_commit = false;

  // Read after each operation: 0 success, 100 no row (single-row select), -1 failure.
  long status = 0;
  long db_error_code = 0;
  QString db_error_text;
  long sqlnrows = 0;  // rows the last statement touched

  Transaction();
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void connect();
  // What no commit stored is undone, never stored. A database that will not let the connection
  // go gives status -1 with its error and leaves the connection open. Harmless when not
  // connected.
  void disconnect();
  void commit();
  void rollback();
  bool is_connected() const { return backend_ != nullptr; }
  // The file of the local engine's database this connection is open on; empty otherwise.
  const QString& database_file() const { return database_file_; }

  // EXECUTE IMMEDIATE.
  void execute_immediate(const QString& sql);
  // An embedded statement; host values are bound to its '?' markers, never pasted in.
  void execute(const QString& sql, const std::vector<Value>& params = {});
  // A single-row select: the first row's columns, status 100 and no values when none.
  std::vector<Value> select_row(const QString& sql, const std::vector<Value>& params = {});

  // For the data store: a prepared statement on this connection, or null with status set.
  std::unique_ptr<Statement> prepare(const QString& sql);
  // Statements between these two take effect whole or not at all (`keep` false undoes them),
  // whatever auto_commit says; a failure sets status. Not nested.
  bool begin_unit();
  bool end_unit(bool keep);
  // Records the outcome of an operation a caller ran on a prepared statement.
  void set_result(bool ok, const DbError& err);

  // Tests make a chosen statement fail: the hook sees each statement text before it runs and
  // returns an error to report instead of running it. It also sees "CONNECT <interface>
  // <database>", "COMMIT", "ROLLBACK", "BEGIN UNIT" and "END UNIT" (or "UNDO UNIT") before
  // they are carried out, so a crash test can end the process right before any of them.
  using FaultHook = std::function<std::optional<DbError>(const QString& sql)>;
  void set_fault_hook(FaultHook hook) { fault_ = std::move(hook); }

 private:
  bool injected_fault(const QString& sql);
  void not_connected();

  std::unique_ptr<Backend> backend_;
  QString database_file_;
  FaultHook fault_;
};

// The ODBC connection text between the quotes of "Connectstring='…'"; the text itself when it
// has no such form.
QString connect_string_of(const QString& connect_params);

}  // namespace db

// The one global connection of each program.
extern db::Transaction sqlca;
