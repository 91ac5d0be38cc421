#include "db/embedded_values.h"

#include <QByteArray>
#include <QString>

namespace db {
namespace {

QString text_of(sqlite3_stmt* st, int col) {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
  return p ? QString::fromUtf8(p, sqlite3_column_bytes(st, col)) : QString();
}

bool starts(const QByteArray& t, const char* word) { return t.startsWith(word); }

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
  if (t.contains("int") || t == "bit") return {DeclaredType::Integer, 0};
  if (starts(t, "float") || starts(t, "real") || starts(t, "double"))
    return {DeclaredType::Double, 0};
  if (t.contains("char") || t.contains("text") || t.contains("clob"))
    return {DeclaredType::Text, 0};
  return {};
}

QString decimal_text(sqlite3_stmt* st, int col, int scale) {
  switch (sqlite3_column_type(st, col)) {
    case SQLITE_INTEGER: {
      QString s = QString::number(sqlite3_column_int64(st, col));
      if (scale > 0) s += QLatin1Char('.') + QString(scale, QLatin1Char('0'));
      return s;
    }
    case SQLITE_FLOAT:
      return QString::number(sqlite3_column_double(st, col), 'f', scale);
    default:
      return text_of(st, col);
  }
}

Value read_column(sqlite3_stmt* st, int col) {
  const int storage = sqlite3_column_type(st, col);
  if (storage == SQLITE_NULL) return Value::null();
  const Declared d = declared_type(sqlite3_column_decltype(st, col));
  switch (d.type) {
    case DeclaredType::Decimal:
      return Value::decimal(decimal_text(st, col, d.scale));
    case DeclaredType::DateTime: {
      const QString s = text_of(st, col);
      QDate d;
      QTime t;
      return Value::parse_datetime(QStringView(s), d, t) ? Value::datetime(d, t) : Value::text(s);
    }
    case DeclaredType::Text:
      return Value::text(text_of(st, col));
    case DeclaredType::Integer:
      if (storage == SQLITE_INTEGER) return Value::integer(sqlite3_column_int64(st, col));
      break;
    case DeclaredType::Double:
      if (storage != SQLITE_TEXT) return Value::number(sqlite3_column_double(st, col));
      break;
    case DeclaredType::None:
      break;
  }
  switch (storage) {
    case SQLITE_INTEGER:
      return Value::integer(sqlite3_column_int64(st, col));
    case SQLITE_FLOAT:
      return Value::number(sqlite3_column_double(st, col));
    default:
      return Value::text(text_of(st, col));
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
