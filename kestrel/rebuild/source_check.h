#pragma once
// Which database may be the source of a rebuild: a salon database, not a system database, not
// velmo41's own files under another name and not one of a later release. Checked before
// anything is attached, copied, set aside or exported, so that a wrong name in the settings
// changes nothing, can never empty velmo41 and never ends in a success.
#include <QString>
#include <QStringList>

#include "db/transaction.h"
#include "kestrel/rebuild/tab_back_tables.h"

namespace rebuild {

// Why the source of that name is refused before anything connects to it; empty when it may be
// tried. On the embedded server `own_velmo41` (this folder's velmo41.mdf) may not be its file;
// velmo41 itself is a source only on that file, sound.
QString refused_source_name(const QString& name, const QString& server, const QString& own_velmo41);

// What the connected source lacks of a salon database: a table of the base schema (the oldest
// schema the upgrade chain starts from, so every version holds them), a column of a table that
// every version holds (required_columns), or the version row of sys. Tables that later versions
// added may be missing: they export as empty.
struct SourceFindings {
  QStringList missing_tables;
  int broken_table = 0;  // the number of a table that lacks a required column or cannot be read
  db::DbError broken_error;
  bool version_row = false;
  QString version;  // sys.bb as read, blanks at both ends removed
};
SourceFindings examine_source(db::Transaction& t);

// Why a source whose sys.bb reads `version` is refused: above the chain's last version it is
// the schema of a later release, whose tables and columns a rebuild by this program would drop
// while velmo41 kept the later version's number. Empty when it may be a source.
QString refused_source_version(const QString& source, const QString& version);

// sys.bb of the local engine's database file, blanks at both ends removed; empty when the file
// has no version row to read. For a file of the program's own making (the local kind's copy):
// it is opened for writing, so that it leaves no companion files, but nothing is written.
QString local_database_version(const QString& file);

// The columns (lower case) the export must find in a table that the source has: those the base
// schema gives it, which every version holds, and the first column, which the table has had
// since it was created and which the import sorts and checks the rows by. Any other column the
// export reads may be missing (a later version added it) and is read as null.
QStringList required_columns(const TabBackTable& t);

}  // namespace rebuild
