#pragma once
// A program folder with the embedded server: databases made from scratch, attached and
// connected through sqlca.
#include <QString>

#include "db/transaction.h"
#include "tests/support/temp_program_folder.h"

namespace test {

class EmbeddedServer {
 public:
  EmbeddedServer();
  ~EmbeddedServer();

  TempProgramFolder folder;

  // Makes an empty SQLite data file and a log file in the program folder.
  void make_files(const QString& name) const;
  // Connects sqlca to `db_name` on the embedded server.
  void connect(const QString& db_name, bool auto_commit = true) const;
  // make_files + sp_attach_db on master + connect.
  void create_database(const QString& name, bool auto_commit = true) const;
  // Runs a statement and expects it to succeed.
  void run(const QString& sql) const;
  // The first column of a one-row select as text; "<failed>" or "<no row>" otherwise.
  QString value(const QString& sql) const;
};

}  // namespace test
