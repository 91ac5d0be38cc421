#pragma once
// Copies of the local engine's database files.
#include <QString>

#include "db/backend.h"

namespace db {

// A consistent copy of the SQLite database `from` as committed, rows still in its write-ahead
// log included (SQLite's backup reads the source within one read transaction, so a program
// writing meanwhile cannot tear it). `to` must not exist; the source is left as it was, and no
// companion file of it is left that was not there before. A journal that a crashed writer left is
// rolled back in a copy in the folder `to` + ".rollback", removed afterwards. False, with err
// filled, when anything fails: whatever `to` then holds is the caller's to remove.
bool copy_database(const QString& from, const QString& to, DbError& err);

// The files SQLite keeps beside a database while it is open or after a crash (its rollback
// journal, write-ahead log and shared-memory index). A leftover of one of them would be
// replayed into a new file put in the database's place.
QStringList companion_files(const QString& database);

}  // namespace db
