#pragma once
// The runtime's data store: rows of a named table definition (table_definitions.h), read from
// a database or a text file, sorted, read and deleted, and stored back. Rows and columns are
// numbered from 1. Results follow the runtime's conventions: 1 success, -1 failure, counts
// where a count is asked for.
//
//   db::DataStore ds;
//   ds.set_dataobject("tab_back_17");  // a registered definition
//   ds.settransobject(sqlca);
//   ds.retrieve();                     // rows of the database
//   ds.saveas(path);                   // the text form (text_form.h), no heading line
//   ds.reset();
//   long n = ds.importfile(path);      // rows read, or a negative code
//   ds.update();                       // inserts the imported rows; 1 on success
//
// Rows are kept as UTF-8 text in one buffer, so a million imported rows cost a few large
// allocations, and update() binds them to one prepared insert without converting them.
#include <QString>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "db/table_definitions.h"
#include "db/transaction.h"
#include "db/value.h"

namespace db {

// Where and why importfile refused a file (kBadInput).
struct ImportRefusal {
  long line = 0;   // 1-based line of the file
  QString column;  // the definition's column, or "" for a field beyond the last one
  QString value;   // the field as the file holds it, bytes that are not UTF-8 as \xNN
  QString reason;
};

class DataStore {
 public:
  // importfile's codes, beside the number of rows read.
  static constexpr long kNoRows = -2;        // the file is empty
  static constexpr long kNoDefinition = -3;  // no table definition is loaded
  static constexpr long kBadInput = -4;      // a line with the wrong number of columns, a
                                             // value that is no value of its column's type or
                                             // that it would not hold as written (see
                                             // text_form::valid_number and normalize), a
                                             // field over 2 GB, a bad escape or bytes that
                                             // are not UTF-8
  static constexpr long kCannotOpen = -5;    // the file is missing or unreadable
  static constexpr long kTooLarge = -7;      // more than the store can hold (4 GB of text)

  // Loads the definition of that name and drops all rows; false when none is registered (the
  // store then has no definition and its operations fail).
  bool set_dataobject(const QString& name);
  const TableDefinition* definition() const { return def_ ? &*def_ : nullptr; }

  // The connection retrieve() and update() go through. 1.
  int settransobject(Transaction& t);

  // Replaces the rows by those of the definition's select, with one value per retrieval
  // argument. The number of rows, or -1 (the connection's status tells why).
  long retrieve(const std::vector<Value>& arguments = {});

  // Writes the rows in the text form, replacing `path` whole or not at all. 1, or -1 when the
  // file cannot be written (a missing folder, a read-only file) or nothing is loaded.
  int saveas(const QString& path) const;

  // Drops all rows, deleted ones included. 1.
  int reset();

  // Appends the rows of a text file in the text form as new rows; all of them or, on any
  // error, none. An empty field of a number or date-time column reads as null (of a text
  // column as ''); a decimal with more places than its column's scale is rounded half away
  // from zero. The number of rows read, or one of the codes above.
  long importfile(const QString& path);
  // Why the last importfile gave kBadInput; nothing after any other result.
  const std::optional<ImportRefusal>& import_refusal() const { return refusal_; }

  long rowcount() const { return static_cast<long>(rows_.size()); }

  // The current column (initially 1) and its name ("" without a definition).
  int setcolumn(int column);
  QString getcolumnname() const;

  // Sort criteria: column names, each optionally followed by A (ascending, the default) or
  // D, separated by commas. -1 for an unknown column. sort() orders the rows stably by them;
  // a null is lower than every value, so nulls come first in ascending order. Numeric
  // columns compare as numbers, others by their text.
  int setsort(const QString& criteria);
  int sort();

  // A cell by row and column name: nothing for a null, a row or column out of range, or (for
  // getitemnumber) a text that is no number. getitemstring gives any column's text form.
  std::optional<double> getitemnumber(long row, const QString& column) const;
  std::optional<QString> getitemstring(long row, const QString& column) const;

  // Removes a row from the store. 1, or -1 for a row out of range.
  int deleterow(long row);

  // Inserts the new (imported) rows into the definition's table through one prepared
  // statement, as one unit: all of them or none. Retrieved rows are not written again.
  // 1 on success, -1 on failure; the connection's status and error tell the outcome. Rows
  // deleted after a retrieve are not deleted from the database, so update() refuses them.
  int update();

 private:
  struct Cell {
    quint32 offset = 0;
    qint32 size = -1;  // -1: null
  };
  int column_index(const QString& name) const;  // 0-based, -1 when unknown
  const Cell* cell(long row, const QString& column) const;
  std::string_view text(const Cell& c) const { return {arena_.data() + c.offset, size_t(c.size)}; }
  void append_row_from(Statement& st);
  bool is_numeric(int column) const;

  long refuse(long line, size_t column, std::string_view field, const char* reason);

  std::optional<TableDefinition> def_;
  std::optional<ImportRefusal> refusal_;
  Transaction* trans_ = nullptr;
  std::string arena_;         // the text of every cell, one after another
  std::vector<Cell> cells_;   // stored row after stored row, ncols cells each
  std::vector<bool> is_new_;  // per stored row: imported, not yet in the database
  std::deque<quint32> rows_;  // the rows held, in their order, as stored-row indexes
  long deleted_retrieved_ = 0;
  int current_column_ = 1;
  std::vector<std::pair<int, bool>> sort_;  // column, ascending
};

}  // namespace db
