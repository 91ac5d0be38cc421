#pragma once
// The T-SQL forms this system issues, turned into what the embedded server (SQLite) runs.
// Each rule is one small function over the tokens of a statement; `classify` applies them.
#include <QString>
#include <QStringList>

#include "db/backend.h"

namespace db::tsql {

// Text rules: each returns the statement with its one form rewritten, the rest untouched.

// isnull( … ) is SQLite's ifnull( … ).
QString isnull_to_ifnull(const QString& sql);
// SQL Server's INTO is optional: "insert T values (…)".
QString insert_without_into(const QString& sql);
// With QUOTED_IDENTIFIER off, as the native interface runs, "text" is a string literal.
QString double_quoted_literals(const QString& sql);
// The text rules in order.
QString translate(const QString& sql);

// What a statement asks of the server.
struct Command {
  enum class Kind {
    Pass,           // run `sql` as it stands (already translated)
    CreateTable,    // run `sql`, then make the key columns of `table` not null
    Commit,         // COMMIT [TRAN[SACTION] | WORK]
    Rollback,       // ROLLBACK [TRAN[SACTION] | WORK]
    AttachDb,       // sp_attach_db 'name','datafile','logfile'
    DetachDb,       // sp_detach_db 'name'
    AlterColumn,    // alter table T ALTER COLUMN c type [null | not null]
    AddPrimaryKey,  // alter table T add constraint N primary key(cols)
    Invalid,        // `error` says why
  };
  Kind kind = Kind::Pass;
  QString sql;
  QString table;
  QString column;
  QString type;       // AlterColumn: the new type, "decimal(14,4)"
  QString type_name;  // AlterColumn: its name alone, "decimal"
  bool not_null = false;
  QString constraint;
  QStringList names;  // AddPrimaryKey: key columns; AttachDb: name, data file, log file;
                      // DetachDb: name
  DbError error;
};

// A statement left with an open literal, name or comment is Invalid (105, 113), as is an
// ALTER COLUMN whose type is not a type name with an optional length or precision and scale.
Command classify(const QString& sql);

// Whether SQL Server knows a type of that name ("int", "double precision"), case ignored.
bool known_type(const QString& name);

// SQL Server's error for a syntax error near `near`.
DbError syntax_error(const QString& near);

}  // namespace db::tsql
