#include "db/embedded_values.h"

#include <QByteArray>
#include <QString>
#include <charconv>

#include "db/stored_values.h"
#include "db/text_form.h"
#include "runtime/codepage.h"

namespace db {
namespace {

bool starts(const QByteArray& t, const char* word) { return t.startsWith(word); }

const char* integer_name(const QByteArray& t) {
  for (const char* n : {"bigint", "smallint", "tinyint", "bit"})
    if (starts(t, n)) return n;
  return "int";
}

// How a column reads back.
enum class Held { Null, Text, Integer, Decimal, DateTime, ByStorage };

// A text column's bytes in UTF-8; bytes that are not UTF-8 were stored by an older program in
// code page 936, which a Chinese server's char columns hold and its clients read as such.
void held_text(const Given& g, std::string& out) {
  if (text_form::valid_utf8(g.text)) {
    out.assign(g.text);
    return;
  }
  const QByteArray u =
      rt::from_cp936(QByteArray(g.text.data(), static_cast<qsizetype>(g.text.size()))).toUtf8();
  out.assign(u.constData(), static_cast<size_t>(u.size()));
}

void integer_text(qint64 i, std::string& out) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, i);
  out.assign(buf, r.ptr);
}

// The column's value as SQL Server would hold it, in the data store's text form. A value SQL
// Server would have refused reads as the text it is (a text column's: as held_text has it).
Held held_cell(sqlite3_stmt* st, int col, const Declared& d, std::string& out) {
  const Given g = Given::of(st, col);
  if (g.storage == SQLITE_NULL) return Held::Null;
  if (g.storage == SQLITE_BLOB) return Held::ByStorage;
  if (d.type == DeclaredType::Text) {
    held_text(g, out);
    return Held::Text;
  }
  if (d.type == DeclaredType::None || d.type == DeclaredType::Double) return Held::ByStorage;
  std::string digits;
  Given given = g;
  if (d.type == DeclaredType::DateTime && g.storage != SQLITE_TEXT) {
    // SQLite keeps '20240305' given to a date-time column as the number 20240305: it reads as
    // the date it was given. Any other number reads as it is.
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    out.assign(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, col)));
    if (g.storage != SQLITE_INTEGER || out.size() != 8) return Held::Text;
    digits = out;
    given.storage = SQLITE_TEXT;
    given.text = digits;
  }
  const Stored s = store_value(d, given);
  switch (s.kind) {
    case Stored::Kind::Refused:
      if (given.storage != SQLITE_TEXT) return Held::ByStorage;
      held_text(given, out);
      return Held::Text;
    case Stored::Kind::Integer:
      integer_text(s.integer, out);
      break;
    case Stored::Kind::Text:
      out = s.text;
      break;
    case Stored::Kind::Same:
      if (given.storage == SQLITE_INTEGER)
        integer_text(given.integer, out);
      else if (given.storage == SQLITE_FLOAT)
        out = decimal_of_double(given.real);
      else
        out.assign(given.text);
      break;
  }
  switch (d.type) {
    case DeclaredType::Decimal:
      at_scale(out, d.scale);
      return Held::Decimal;
    case DeclaredType::Integer:
      return g.storage == SQLITE_TEXT && s.kind == Stored::Kind::Same ? Held::Text : Held::Integer;
    case DeclaredType::DateTime:
      return Held::DateTime;
    default:
      return Held::ByStorage;
  }
}

}  // namespace

Declared declared_type(const char* decl) {
  if (!decl) return {};
  const QByteArray t = QByteArray(decl).trimmed().toLower();
  if (starts(t, "decimal") || starts(t, "numeric") || starts(t, "dec")) {
    Declared d{DeclaredType::Decimal, 0};
    const qsizetype comma = t.indexOf(',');
    if (comma > 0) d.scale = t.mid(comma + 1).replace(')', "").trimmed().toInt();
    return d;
  }
  if (starts(t, "money") || starts(t, "smallmoney")) return {DeclaredType::Decimal, 4};
  if (t.contains("date") || t.contains("time")) return {DeclaredType::DateTime, 0};
  if (t.contains("int") || t == "bit") return {DeclaredType::Integer, 0, integer_name(t)};
  if (starts(t, "float") || starts(t, "real") || starts(t, "double"))
    return {DeclaredType::Double, 0};
  if (t.contains("char") || t.contains("text") || t.contains("clob"))
    return {DeclaredType::Text, 0};
  return {};
}

Value read_column(sqlite3_stmt* st, int col) {
  return read_column(st, col, declared_type(sqlite3_column_decltype(st, col)));
}

bool read_cell(sqlite3_stmt* st, int col, const Declared& d, std::string& out, bool& handled) {
  handled = true;
  switch (held_cell(st, col, d, out)) {
    case Held::Null:
      return false;
    case Held::ByStorage:
      break;
    default:
      return true;
  }
  // Doubles are written by the Value path, in their shortest exact form.
  const int storage = sqlite3_column_type(st, col);
  if (d.type != DeclaredType::Double && storage == SQLITE_INTEGER) {
    integer_text(sqlite3_column_int64(st, col), out);
    return true;
  }
  if (d.type == DeclaredType::None && storage == SQLITE_TEXT) {
    held_text(Given::of(st, col), out);
    return true;
  }
  handled = false;
  return false;
}

Value read_column(sqlite3_stmt* st, int col, const Declared& d) {
  std::string cell;
  const auto text = [&] {
    return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
  };
  switch (held_cell(st, col, d, cell)) {
    case Held::Null:
      return Value::null();
    case Held::Text:
      return Value::text(text());
    case Held::Decimal:
      return Value::decimal(text());
    case Held::Integer: {
      qint64 i = 0;
      std::from_chars(cell.data(), cell.data() + cell.size(), i);
      return Value::integer(i);
    }
    case Held::DateTime: {
      const QString s = text();
      QDate day;
      QTime t;
      return Value::parse_datetime(QStringView(s), day, t) ? Value::datetime(day, t)
                                                           : Value::text(s);
    }
    case Held::ByStorage:
      break;
  }
  switch (sqlite3_column_type(st, col)) {
    case SQLITE_INTEGER:
      if (d.type == DeclaredType::Double) return Value::number(sqlite3_column_double(st, col));
      return Value::integer(sqlite3_column_int64(st, col));
    case SQLITE_FLOAT:
      return Value::number(sqlite3_column_double(st, col));
    default: {
      held_text(Given::of(st, col), cell);
      return Value::text(text());
    }
  }
}

int bind_value(sqlite3_stmt* st, int index, const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Null:
      return sqlite3_bind_null(st, index);
    case Value::Kind::Integer:
      return sqlite3_bind_int64(st, index, v.to_integer());
    case Value::Kind::Double:
      return sqlite3_bind_double(st, index, v.to_double());
    case Value::Kind::Text:
    case Value::Kind::Decimal:
    case Value::Kind::DateTime: {
      // Decimals go as text so that no digit is lost on the way; a date-time as its text form.
      const QByteArray u = v.to_text().toUtf8();
      return sqlite3_bind_text(st, index, u.constData(), static_cast<int>(u.size()),
                               SQLITE_TRANSIENT);
    }
  }
  return SQLITE_MISUSE;
}

}  // namespace db
