#include "db/stored_values.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "db/sqlserver_datetime.h"
#include "db/text_form.h"

namespace db {
namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

QString text_of(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

Stored refused(long code, const QString& text) {
  Stored s;
  s.kind = Stored::Kind::Refused;
  s.error = {code, text};
  return s;
}

Stored as_text(std::string text) {
  Stored s;
  s.kind = Stored::Kind::Text;
  s.text = std::move(text);
  return s;
}

Stored as_integer(qint64 i) {
  Stored s;
  s.kind = Stored::Kind::Integer;
  s.integer = i;
  return s;
}

Stored overflow(const char* from, const char* to) {
  return refused(8115, QStringLiteral("Arithmetic overflow error converting %1 to data type %2.")
                           .arg(QLatin1String(from), QLatin1String(to)));
}

// [-]digits that fit in 64 bits whatever they are: what an import gives an integer column.
bool plain_integer(std::string_view s) {
  size_t i = !s.empty() && s[0] == '-' ? 1 : 0;
  if (s.size() == i || s.size() - i > 18) return false;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

// [-]digits[.digits] within `scale` places: what an import and most statements give, taken
// without parsing the number.
bool plain_decimal(std::string_view s, int scale) {
  size_t i = !s.empty() && s[0] == '-' ? 1 : 0;
  const size_t start = i;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
  const size_t whole = i - start;
  if (whole == 0 || whole > 30) return false;
  if (i == s.size()) return true;
  if (s[i] != '.') return false;
  const size_t point = i++;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
  return i == s.size() && i - point - 1 <= static_cast<size_t>(std::max(scale, 0));
}

Stored to_integer(const Declared& column, const Given& v) {
  if (!converts(column)) return {};
  if (v.storage == SQLITE_FLOAT) {
    // SQL Server truncates a number with a fraction that an integer column is given.
    const double t = std::trunc(v.real);
    if (!std::isfinite(t) || std::fabs(t) >= 9.2233720368547758e18)
      return overflow("float", column.name);
    return as_integer(static_cast<qint64>(t));
  }
  if (v.storage != SQLITE_TEXT || plain_integer(v.text)) return {};
  std::string_view s = trimmed(v.text);
  if (s.empty()) return as_integer(0);
  const bool plus = s.front() == '+';
  if (plus) s.remove_prefix(1);
  const size_t sign = !plus && !s.empty() && s.front() == '-' ? 1 : 0;
  bool digits = s.size() > sign;
  for (size_t k = sign; k < s.size() && digits; ++k) digits = s[k] >= '0' && s[k] <= '9';
  if (!digits)
    return refused(245, QStringLiteral("Conversion failed when converting the varchar value '%1' "
                                       "to data type %2.")
                            .arg(text_of(v.text), QLatin1String(column.name)));
  qint64 i = 0;
  if (std::from_chars(s.data(), s.data() + s.size(), i).ec != std::errc())
    return refused(248, QStringLiteral("The conversion of the varchar value '%1' overflowed an %2 "
                                       "column. Use a larger integer column.")
                            .arg(text_of(v.text), QLatin1String(column.name)));
  return plus || s.size() != v.text.size() ? as_integer(i) : Stored{};
}

Stored to_decimal(const Declared& column, const Given& v) {
  if (v.storage == SQLITE_FLOAT) {
    if (!std::isfinite(v.real)) return overflow("float", "numeric");
    std::string t = decimal_of_double(v.real);
    return text_form::round_decimal(t, column.scale) ? as_text(std::move(t)) : Stored{};
  }
  if (v.storage != SQLITE_TEXT || plain_decimal(v.text, column.scale)) return {};
  const std::string_view s = trimmed(v.text);
  if (!text_form::valid_number(ColumnType::Decimal, s))
    return refused(8114, QStringLiteral("Error converting data type varchar to numeric."));
  std::string t(s.front() == '+' ? s.substr(1) : s);
  if (t.find_first_of("eE") != std::string::npos) {
    // In positional notation, as the server keeps and shows a decimal.
    double d = 0;
    std::from_chars(t.data(), t.data() + t.size(), d);
    t = decimal_of_double(d);
  }
  text_form::round_decimal(t, column.scale);
  return as_text(std::move(t));
}

Stored to_float(const Given& v) {
  if (v.storage != SQLITE_TEXT || plain_decimal(v.text, 30)) return {};
  const std::string_view s = trimmed(v.text);
  if (s.empty()) return as_integer(0);
  if (!text_form::valid_number(ColumnType::Double, s))
    return refused(8114, QStringLiteral("Error converting data type varchar to float."));
  return s.size() == v.text.size() ? Stored{} : as_text(std::string(s));
}

Stored to_datetime(const Given& v) {
  if (v.storage != SQLITE_TEXT || text_form::canonical_datetime(v.text)) return {};
  std::string canonical;
  if (!sqlserver_datetime(v.text, canonical))
    return refused(241, QStringLiteral("Conversion failed when converting date and/or time from "
                                       "character string."));
  return as_text(std::move(canonical));
}

void store_function(sqlite3_context* ctx, int, sqlite3_value** argv) {
  // The declared type is a constant of the statement: read once, kept with it.
  Declared column;
  if (const auto* kept = static_cast<const Declared*>(sqlite3_get_auxdata(ctx, 1))) {
    column = *kept;
  } else {
    column = declared_type(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])));
    sqlite3_set_auxdata(ctx, 1, new Declared(column),
                        [](void* p) { delete static_cast<Declared*>(p); });
  }
  const Stored s = store_value(column, Given::of(argv[0]));
  switch (s.kind) {
    case Stored::Kind::Same:
      sqlite3_result_value(ctx, argv[0]);
      break;
    case Stored::Kind::Text:
      sqlite3_result_text(ctx, s.text.data(), static_cast<int>(s.text.size()), SQLITE_TRANSIENT);
      break;
    case Stored::Kind::Integer:
      sqlite3_result_int64(ctx, s.integer);
      break;
    case Stored::Kind::Refused: {
      // The message carries the error: sqlserver_error reads its number from it.
      const QByteArray u = s.error.text.toUtf8();
      sqlite3_result_error(ctx, u.constData(), static_cast<int>(u.size()));
      break;
    }
  }
}

}  // namespace

Given Given::of(sqlite3_value* v) {
  Given g;
  g.storage = sqlite3_value_type(v);
  switch (g.storage) {
    case SQLITE_INTEGER:
      g.integer = sqlite3_value_int64(v);
      break;
    case SQLITE_FLOAT:
      g.real = sqlite3_value_double(v);
      break;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      const auto* p = g.storage == SQLITE_TEXT
                          ? reinterpret_cast<const char*>(sqlite3_value_text(v))
                          : static_cast<const char*>(sqlite3_value_blob(v));
      g.text = {p ? p : "", static_cast<size_t>(sqlite3_value_bytes(v))};
      break;
    }
    default:
      break;
  }
  return g;
}

Given Given::of(sqlite3_stmt* st, int col) {
  Given g;
  g.storage = sqlite3_column_type(st, col);
  switch (g.storage) {
    case SQLITE_INTEGER:
      g.integer = sqlite3_column_int64(st, col);
      break;
    case SQLITE_FLOAT:
      g.real = sqlite3_column_double(st, col);
      break;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      const auto* p = g.storage == SQLITE_TEXT
                          ? reinterpret_cast<const char*>(sqlite3_column_text(st, col))
                          : static_cast<const char*>(sqlite3_column_blob(st, col));
      g.text = {p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, col))};
      break;
    }
    default:
      break;
  }
  return g;
}

bool converts(const Declared& column) {
  switch (column.type) {
    case DeclaredType::Integer:
      return std::strcmp(column.name, "bit") != 0;
    case DeclaredType::Decimal:
    case DeclaredType::Double:
    case DeclaredType::DateTime:
      return true;
    case DeclaredType::Text:
    case DeclaredType::None:
      break;
  }
  return false;
}

Stored store_value(const Declared& column, const Given& v) {
  switch (column.type) {
    case DeclaredType::Integer:
      return to_integer(column, v);
    case DeclaredType::Decimal:
      return to_decimal(column, v);
    case DeclaredType::Double:
      return to_float(v);
    case DeclaredType::DateTime:
      return to_datetime(v);
    case DeclaredType::Text:
    case DeclaredType::None:
      break;
  }
  return {};
}

std::string decimal_of_double(double d) {
  char buf[512];
  const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
  if (r.ec != std::errc()) return std::to_string(d);
  std::string s(buf, r.ptr);
  if (s == "-0") s = "0";
  return s;
}

void at_scale(std::string& decimal, int scale) {
  if (scale < 0 || text_form::round_decimal(decimal, scale)) return;
  const size_t dot = decimal.find('.');
  const size_t places = dot == std::string::npos ? 0 : decimal.size() - dot - 1;
  if (places >= static_cast<size_t>(scale)) return;
  if (dot == std::string::npos) decimal += '.';
  decimal.append(static_cast<size_t>(scale) - places, '0');
}

bool register_store_function(sqlite3* db) {
  return sqlite3_create_function_v2(db, "tsql_store", 2,
                                    SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                    &store_function, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace db
