#pragma once
// Whole databases compared table by table: every carried table of a database on the embedded
// server, read through sqlca, as table number -> its rows as sorted lines (columns joined by
// tabs, nulls as "~"). sqlca ends disconnected.
#include <QString>
#include <QStringList>
#include <map>

namespace test {

using Columns = std::map<int, QStringList>;
using Contents = std::map<int, QStringList>;

// The columns each carried table has in the database (none for a table it lacks).
Columns carried_columns(const QString& db_name);

// The rows of each carried table by the given columns; a table without columns is left out.
Contents carried_rows(const QString& db_name, const Columns& columns);

// Removes the rows whose key the import checks and finds null or blank; returns how many went.
long drop_blank_keys(Contents& contents, const Columns& columns);

// The first table whose rows differ, with a few of the differing lines; empty when equal.
QString first_difference(const Contents& expected, const Contents& got);

}  // namespace test
