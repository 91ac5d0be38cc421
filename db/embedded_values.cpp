#include "db/embedded_values.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <charconv>

#include "db/text_form.h"

namespace db {
namespace {

QString text_of(sqlite3_stmt* st, int col) {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
  return p ? QString::fromUtf8(p, sqlite3_column_bytes(st, col)) : QString();
}

bool starts(const QByteArray& t, const char* word) { return t.startsWith(word); }

// A double at `scale` decimal places, correctly rounded from its exact binary value.
std::string fixed_text(double d, int scale) {
  char buf[512];
  const auto r =
      std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, std::clamp(scale, 0, 30));
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::to_string(d);
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
    case SQLITE_FLOAT: {
      const std::string t = fixed_text(sqlite3_column_double(st, col), scale);
      return QString::fromLatin1(t.data(), static_cast<qsizetype>(t.size()));
    }
    default:
      return text_of(st, col);
  }
}

Value read_column(sqlite3_stmt* st, int col) {
  return read_column(st, col, declared_type(sqlite3_column_decltype(st, col)));
}

bool read_cell(sqlite3_stmt* st, int col, const Declared& d, std::string& out, bool& handled) {
  handled = true;
  const int storage = sqlite3_column_type(st, col);
  if (storage == SQLITE_NULL) return false;
  auto raw = [&] {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    out.assign(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, col)));
    return true;
  };
  auto integer = [&](const char* tail) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, sqlite3_column_int64(st, col));
    out.assign(buf, r.ptr);
    out += tail;
    return true;
  };
  switch (d.type) {
    case DeclaredType::Text:
      return raw();
    case DeclaredType::DateTime: {
      raw();
      // A text that is no date-time is read as the text it is, like read_column does.
      std::string t = out;
      if (text_form::normalize_datetime(t)) out = std::move(t);
      return true;
    }
    case DeclaredType::Integer:
      if (storage == SQLITE_INTEGER) return integer("");
      break;
    case DeclaredType::Decimal:
      if (storage == SQLITE_FLOAT) {
        out = fixed_text(sqlite3_column_double(st, col), d.scale);
        return true;
      }
      if (storage == SQLITE_INTEGER && d.scale >= 0 && d.scale < 20) {
        const std::string zeros =
            d.scale > 0 ? "." + std::string(static_cast<size_t>(d.scale), '0') : "";
        return integer(zeros.c_str());
      }
      break;
    case DeclaredType::None:
      if (storage == SQLITE_INTEGER) return integer("");
      if (storage == SQLITE_TEXT) return raw();
      break;
    default:
      break;
  }
  handled = false;
  return false;
}

Value read_column(sqlite3_stmt* st, int col, const Declared& d) {
  const int storage = sqlite3_column_type(st, col);
  if (storage == SQLITE_NULL) return Value::null();
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
