#pragma once
// What a database interface offers the connection object: the ODBC driver manager, or the
// embedded server. A failed call fills the error and returns false; nothing throws.
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "db/value.h"

namespace db {

struct DbError {
  long code = 0;  // the database's own error code
  QString text;   // its message
};

// A host value seen in place as UTF-8 text, for binding many rows without building Values.
struct TextCell {
  const char* data = nullptr;
  int size = -1;  // -1: null
  bool is_null() const { return size < 0; }
};

class Statement {
 public:
  virtual ~Statement() = default;
  // Binds the host values to the statement's '?' markers, in order.
  virtual bool bind(const std::vector<Value>& params, DbError& err) = 0;
  // Binds text values (the database converts them to the columns' types). The default builds
  // Values; a backend may bind the bytes as they lie.
  virtual bool bind_texts(const TextCell* cells, int count, DbError& err);
  virtual bool execute(DbError& err) = 0;
  // Moves to the next row of the result: true when there is one. At the end, false with an
  // empty error; on failure false with the error filled.
  virtual bool fetch(DbError& err) = 0;
  virtual int column_count() = 0;
  virtual QString column_name(int col) = 0;
  virtual Value column(int col) = 0;  // of the current row
  // The column of the current row in the data store's text form (UTF-8; doubles in their
  // shortest exact form); false for null. Backends that can read a row's text directly
  // override it: retrieving a million rows should not build a Value per cell.
  virtual bool column_cell(int col, std::string& out);
  virtual long rows_affected() = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual std::unique_ptr<Statement> prepare(const QString& sql, DbError& err) = 0;
  virtual bool commit(DbError& err) = 0;
  virtual bool rollback(DbError& err) = 0;
  // A unit of statements that takes effect whole or not at all, inside or outside an open
  // transaction. The default has nothing to offer: the statements take effect one by one.
  virtual bool begin_unit(DbError& err);
  virtual bool end_unit(bool keep, DbError& err);
  // Ends the connection: what no commit stored is undone, never stored, and the database is let
  // go. False, with the error, while the database still holds the connection (or a part of it);
  // a later close tries again. The default has nothing to check: its destructor lets go.
  virtual bool close(DbError& err);
};

// Everything a backend needs to open a connection.
struct ConnectRequest {
  QString interface_id;
  QString server;
  QString db_name;
  QString login;
  QString password;
  QString connect_params;
  bool auto_commit = false;
};

// The embedded server plugs in here: a factory for the server name "(embedded)".
using EmbeddedFactory = std::unique_ptr<Backend> (*)(const ConnectRequest&, DbError&);
void set_embedded_factory(EmbeddedFactory f);
EmbeddedFactory embedded_factory();
// Whether a server name selects the embedded server (blanks around it and case ignored).
bool is_embedded_server(const QString& server);

// A database file that a server holds open may not be overwritten (Windows refuses to). The
// embedded server installs the check that tells whether a path is one of its attached files.
using HeldFileCheck = bool (*)(const QString& path);
void set_held_file_check(HeldFileCheck f);
bool file_held_by_server(const QString& path);

}  // namespace db
