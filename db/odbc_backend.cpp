#include "db/odbc_backend.h"

#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QFileInfo>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <utility>

#include "db/local_engine_probe.h"
#include "db/odbc_calls.h"
#include "db/odbc_connection.h"
#include "db/odbc_diagnostics.h"
#include "db/odbc_text.h"
#include "db/scoped_odbc_profile.h"
#include "db/text_form.h"
#include "runtime/codepage.h"

namespace db {

namespace {

class OdbcStatement final : public Statement {
 public:
  OdbcStatement(SQLHSTMT h, bool narrow) : h_(h), narrow_(narrow) {}
  ~OdbcStatement() override { SQLFreeHandle(SQL_HANDLE_STMT, h_); }

  bool bind(const std::vector<Value>& params, DbError& err) override {
    SQLFreeStmt(h_, SQL_RESET_PARAMS);
    bound_.assign(params.size(), Bound{});
    for (size_t i = 0; i < params.size(); ++i) {
      Bound& b = bound_[i];
      const Value& v = params[i];
      SQLRETURN r;
      const auto n = static_cast<SQLUSMALLINT>(i + 1);
      switch (v.kind()) {
        case Value::Kind::Null:
          b.ind = SQL_NULL_DATA;
          r = SQLBindParameter(h_, n, SQL_PARAM_INPUT, narrow_ ? SQL_C_CHAR : SQL_C_WCHAR,
                               narrow_ ? SQL_VARCHAR : SQL_WVARCHAR, 1, 0, nullptr, 0, &b.ind);
          break;
        case Value::Kind::Integer:
          b.i = v.to_integer();
          r = SQLBindParameter(h_, n, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &b.i, 0,
                               nullptr);
          break;
        case Value::Kind::Double:
          b.d = v.to_double();
          r = SQLBindParameter(h_, n, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, &b.d, 0,
                               nullptr);
          break;
        case Value::Kind::DateTime: {
          const QDate d = v.date_part();
          const QTime t = v.time_part();
          b.ts = SQL_TIMESTAMP_STRUCT{
              static_cast<SQLSMALLINT>(d.year()),           static_cast<SQLUSMALLINT>(d.month()),
              static_cast<SQLUSMALLINT>(d.day()),           static_cast<SQLUSMALLINT>(t.hour()),
              static_cast<SQLUSMALLINT>(t.minute()),        static_cast<SQLUSMALLINT>(t.second()),
              static_cast<SQLUINTEGER>(t.msec()) * 1000000u};
          r = SQLBindParameter(h_, n, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23,
                               3, &b.ts, 0, nullptr);
          break;
        }
        case Value::Kind::Text:
        case Value::Kind::Decimal:
        default: {
          if (narrow_) {
            b.u8 = v.to_text().toUtf8();
            b.ind = static_cast<SQLLEN>(b.u8.size());
            const SQLULEN size = std::max<SQLULEN>(1, b.u8.size());
            r = SQLBindParameter(h_, n, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, size, 0,
                                 odbc_nptr(b.u8), b.ind, &b.ind);
          } else {
            b.w = odbc_wide(v.to_text());
            b.ind = static_cast<SQLLEN>(b.w.size() * sizeof(char16_t));
            const SQLULEN size = std::max<SQLULEN>(1, b.w.size());
            r = SQLBindParameter(h_, n, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, size, 0,
                                 odbc_wptr(b.w), b.ind, &b.ind);
          }
          break;
        }
      }
      if (!SQL_SUCCEEDED(r)) {
        err = odbc_diagnostics(SQL_HANDLE_STMT, h_, "binding a host value failed", narrow_);
        return false;
      }
    }
    return true;
  }

  bool execute(DbError& err) override {
    SQLFreeStmt(h_, SQL_CLOSE);
    row_.clear();
    SQLRETURN r = SQLExecute(h_);
    if (r == SQL_NO_DATA) {
      rows_ = 0;
      return true;
    }
    if (!SQL_SUCCEEDED(r)) {
      err = odbc_diagnostics(SQL_HANDLE_STMT, h_, "the statement failed", narrow_);
      return false;
    }
    SQLLEN n = 0;
    SQLRowCount(h_, &n);
    rows_ = n;
    SQLSMALLINT cols = 0;
    SQLNumResultCols(h_, &cols);
    cols_ = cols;
    types_.assign(static_cast<size_t>(std::max(cols_, 0)), 0);
    for (int c = 0; c < cols_; ++c) {
      SQLSMALLINT len = 0, type = 0, digits = 0, nullable = 0;
      SQLULEN size = 0;
      const auto col = static_cast<SQLUSMALLINT>(c + 1);
      if (narrow_)
        SQLDescribeCol(h_, col, nullptr, 0, &len, &type, &size, &digits, &nullable);
      else
        SQLDescribeColW(h_, col, nullptr, 0, &len, &type, &size, &digits, &nullable);
      types_[static_cast<size_t>(c)] = type;
    }
    return true;
  }

  // Reads the whole row, column by column in order: a column that cannot be read fails the
  // fetch, and so the statement, instead of reading as a null.
  bool fetch(DbError& err) override {
    row_.clear();
    if (cols_ <= 0) return false;
    SQLRETURN r = SQLFetch(h_);
    if (r == SQL_NO_DATA) return false;
    if (!SQL_SUCCEEDED(r)) {
      err = odbc_diagnostics(SQL_HANDLE_STMT, h_, "fetching a row failed", narrow_);
      return false;
    }
    std::vector<Value> row(static_cast<size_t>(cols_));
    for (int c = 0; c < cols_; ++c)
      if (!read_column(c, row[static_cast<size_t>(c)], err)) return false;
    row_ = std::move(row);
    return true;
  }

  int column_count() override { return cols_; }

  QString column_name(int col) override {
    SQLSMALLINT len = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    const auto n = static_cast<SQLUSMALLINT>(col + 1);
    if (narrow_) {
      SQLCHAR name[1024] = {0};
      SQLDescribeCol(h_, n, name, sizeof name, &len, &type, &size, &digits, &nullable);
      return QString::fromUtf8(reinterpret_cast<const char*>(name),
                               std::clamp<qsizetype>(len, 0, sizeof name - 1));
    }
    SQLWCHAR name[256] = {0};
    SQLDescribeColW(h_, n, name, 256, &len, &type, &size, &digits, &nullable);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(name),
                              std::clamp<qsizetype>(len, 0, 255));
  }

  Value column(int col) override {
    return col >= 0 && static_cast<size_t>(col) < row_.size() ? row_[static_cast<size_t>(col)]
                                                              : Value();
  }

  long rows_affected() override { return static_cast<long>(rows_); }

 private:
  struct Bound {
    SQLLEN ind = 0;
    SQLBIGINT i = 0;
    double d = 0;
    SQL_TIMESTAMP_STRUCT ts{};
    std::u16string w;
    QByteArray u8;
  };

  bool get_data(SQLUSMALLINT n, SQLSMALLINT c_type, SQLPOINTER buf, SQLLEN size, SQLLEN& ind,
                SQLRETURN& r, DbError& err) {
    r = odbc_calls::get_data(h_, n, c_type, buf, size, &ind);
    if (SQL_SUCCEEDED(r)) return true;
    err = odbc_diagnostics(SQL_HANDLE_STMT, h_, "", narrow_);
    if (err.text.isEmpty()) err.text = QStringLiteral("reading column %1 failed").arg(n);
    return false;
  }

  bool read_column(int col, Value& out, DbError& err) {
    const auto n = static_cast<SQLUSMALLINT>(col + 1);
    SQLLEN ind = 0;
    SQLRETURN r = SQL_SUCCESS;
    switch (types_[static_cast<size_t>(col)]) {
      case SQL_TINYINT:
      case SQL_SMALLINT:
      case SQL_INTEGER:
      case SQL_BIGINT:
      case SQL_BIT: {
        SQLBIGINT i = 0;
        if (!get_data(n, SQL_C_SBIGINT, &i, 0, ind, r, err)) return false;
        out = ind == SQL_NULL_DATA ? Value::null() : Value::integer(i);
        return true;
      }
      case SQL_REAL:
      case SQL_FLOAT:
      case SQL_DOUBLE: {
        double d = 0;
        if (!get_data(n, SQL_C_DOUBLE, &d, 0, ind, r, err)) return false;
        out = ind == SQL_NULL_DATA ? Value::null() : Value::number(d);
        return true;
      }
      case SQL_TYPE_TIMESTAMP:
      case SQL_TIMESTAMP:
      case SQL_TYPE_DATE:
      case SQL_DATE: {
        SQL_TIMESTAMP_STRUCT ts{};
        if (!get_data(n, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, ind, r, err)) return false;
        if (ind == SQL_NULL_DATA) {
          out = Value::null();
          return true;
        }
        out = Value::datetime(
            QDate(ts.year, ts.month, ts.day),
            QTime(ts.hour, ts.minute, ts.second, static_cast<int>(ts.fraction / 1000000u)));
        if (out.is_null()) {
          err = {-1, QStringLiteral("column %1 holds no valid date-time: %2-%3-%4 %5:%6:%7")
                         .arg(n)
                         .arg(ts.year)
                         .arg(ts.month)
                         .arg(ts.day)
                         .arg(ts.hour)
                         .arg(ts.minute)
                         .arg(ts.second)};
          return false;
        }
        return true;
      }
      default: {
        QString text;
        if (!read_text(n, ind, text, err)) return false;
        if (ind == SQL_NULL_DATA)
          out = Value::null();
        else if (types_[static_cast<size_t>(col)] == SQL_DECIMAL ||
                 types_[static_cast<size_t>(col)] == SQL_NUMERIC)
          out = Value::decimal(text);
        else
          out = Value::text(text);
        return true;
      }
    }
  }

  // A text column, piece by piece: the pieces after the first end with SQL_NO_DATA.
  bool read_text(SQLUSMALLINT n, SQLLEN& ind, QString& out, DbError& err) {
    QByteArray bytes;
    alignas(char16_t) char buf[8192];
    const SQLSMALLINT c_type = narrow_ ? SQL_C_CHAR : SQL_C_WCHAR;
    const qsizetype terminator = narrow_ ? 1 : static_cast<qsizetype>(sizeof(char16_t));
    const DbError before = err;
    for (bool first = true;; first = false) {
      SQLRETURN r = SQL_SUCCESS;
      if (!get_data(n, c_type, buf, sizeof buf, ind, r, err)) {
        if (r != SQL_NO_DATA || first) return false;
        err = before;  // every piece is read
        break;
      }
      if (ind == SQL_NULL_DATA) return true;
      const bool whole = ind != SQL_NO_TOTAL && ind >= 0 && ind < static_cast<SQLLEN>(sizeof buf);
      qsizetype piece =
          whole ? static_cast<qsizetype>(ind) : static_cast<qsizetype>(sizeof buf) - terminator;
      if (!narrow_) piece -= piece % static_cast<qsizetype>(sizeof(char16_t));
      bytes.append(buf, piece);
      if (r == SQL_SUCCESS || whole) break;
    }
    if (!narrow_) {
      out = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                               bytes.size() / static_cast<qsizetype>(sizeof(char16_t)));
      return true;
    }
    // Bytes that are not UTF-8 were stored in code page 936 by an older program, as the
    // embedded server reads them too.
    const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
    out = text_form::valid_utf8(view) ? QString::fromUtf8(bytes) : rt::from_cp936(bytes);
    return true;
  }

  SQLHSTMT h_;
  bool narrow_;
  std::vector<Bound> bound_;
  std::vector<SQLSMALLINT> types_;
  std::vector<Value> row_;
  SQLLEN rows_ = 0;
  int cols_ = 0;
};

// Sets a connection's auto_commit and checks that it took: the one-transaction promise of a
// connection with auto_commit off rests on it.
bool apply_auto_commit(SQLHDBC dbc, bool on) {
  const SQLULEN want = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
  if (!SQL_SUCCEEDED(odbc_calls::set_connect_attr(dbc, SQL_ATTR_AUTOCOMMIT,
                                                  reinterpret_cast<SQLPOINTER>(want), 0)))
    return false;
  // Neither mode: a driver may write the attribute's 32 bits only, or nothing.
  SQLULEN mode = 2;
  return SQL_SUCCEEDED(SQLGetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, &mode, 0, nullptr)) &&
         mode == want;
}

class OdbcBackend final : public Backend {
 public:
  explicit OdbcBackend(OdbcConnection connection)
      : conn_(std::move(connection)), narrow_(conn_.narrow()) {}

  bool close(DbError& err) override { return conn_.close(err); }

  std::unique_ptr<Statement> prepare(const QString& sql, DbError& err) override {
    SQLHSTMT h = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc(), &h))) {
      err = odbc_diagnostics(SQL_HANDLE_DBC, dbc(), "no statement handle", narrow_);
      return nullptr;
    }
    SQLRETURN r;
    if (narrow_) {
      QByteArray u = sql.toUtf8();
      r = SQLPrepare(h, odbc_nptr(u), static_cast<SQLINTEGER>(u.size()));
    } else {
      std::u16string w = odbc_wide(sql);
      r = SQLPrepareW(h, odbc_wptr(w), static_cast<SQLINTEGER>(w.size()));
    }
    if (!SQL_SUCCEEDED(r)) {
      err = odbc_diagnostics(SQL_HANDLE_STMT, h, "the statement could not be prepared", narrow_);
      SQLFreeHandle(SQL_HANDLE_STMT, h);
      return nullptr;
    }
    return std::make_unique<OdbcStatement>(h, narrow_);
  }

  // Inside a unit of its own a commit or rollback would end the unit halfway; there, as on the
  // embedded server, they are part of the unit, which its end stores or undoes whole.
  bool commit(DbError& err) override { return unit_owns_transaction_ || end(SQL_COMMIT, err); }
  bool rollback(DbError& err) override { return unit_owns_transaction_ || end(SQL_ROLLBACK, err); }

  // With auto-commit on, the unit is a transaction of its own. With it off the statements join
  // the open transaction, which the caller ends (ODBC has no portable savepoint).
  bool begin_unit(DbError& err) override {
    SQLULEN mode = SQL_AUTOCOMMIT_OFF;
    SQLGetConnectAttr(dbc(), SQL_ATTR_AUTOCOMMIT, &mode, 0, nullptr);
    unit_owns_transaction_ = mode == SQL_AUTOCOMMIT_ON;
    if (unit_owns_transaction_ && !set_auto_commit(false)) {
      err = odbc_diagnostics(SQL_HANDLE_DBC, dbc(), "a transaction could not be opened", narrow_);
      unit_owns_transaction_ = false;
      return false;
    }
    return true;
  }

  bool end_unit(bool keep, DbError& err) override {
    if (!unit_owns_transaction_) return true;
    unit_owns_transaction_ = false;
    const bool ended = end(keep ? SQL_COMMIT : SQL_ROLLBACK, err);
    if (!ended && keep) {
      DbError ignored;
      end(SQL_ROLLBACK, ignored);
    }
    // Left off, every later statement would join a transaction that nothing commits.
    if (!set_auto_commit(true)) {
      if (ended)
        err = odbc_diagnostics(SQL_HANDLE_DBC, dbc(), "auto_commit could not be turned on again",
                               narrow_);
      return false;
    }
    return ended;
  }

  bool set_auto_commit(bool on) { return apply_auto_commit(dbc(), on); }

  bool end(SQLSMALLINT how, DbError& err) {
    if (SQL_SUCCEEDED(odbc_calls::end_tran(SQL_HANDLE_DBC, dbc(), how))) return true;
    err = odbc_diagnostics(SQL_HANDLE_DBC, dbc(), "ending the transaction failed", narrow_);
    return false;
  }

  SQLHDBC dbc() const { return conn_.dbc(); }

 private:
  OdbcConnection conn_;
  bool narrow_;
  bool unit_owns_transaction_ = false;
};

// "KEY=value;KEY2={v;x}}y}" -> (KEY, value), (KEY2, v;x}y): a braced value ends at a '}' that
// is not doubled. Keys as written, without blanks around them. False for a brace left open.
bool parse_attributes(const QString& s, QList<std::pair<QString, QString>>& out) {
  out.clear();
  qsizetype i = 0;
  while (i < s.size()) {
    const qsizetype eq = s.indexOf(QLatin1Char('='), i);
    if (eq < 0) return s.mid(i).trimmed().isEmpty();
    const QString key = s.mid(i, eq - i).trimmed();
    qsizetype j = eq + 1;
    QString value;
    if (j < s.size() && s[j] == QLatin1Char('{')) {
      for (++j;; ++j) {
        if (j >= s.size()) return false;
        if (s[j] != QLatin1Char('}')) {
          value += s[j];
        } else if (j + 1 < s.size() && s[j + 1] == QLatin1Char('}')) {
          value += s[j++];
        } else {
          break;
        }
      }
      const qsizetype semi = s.indexOf(QLatin1Char(';'), j);
      if (!s.mid(j + 1, (semi < 0 ? s.size() : semi) - j - 1).trimmed().isEmpty()) return false;
      j = semi;
    } else {
      const qsizetype semi = s.indexOf(QLatin1Char(';'), j);
      value = s.mid(j, (semi < 0 ? s.size() : semi) - j);
      j = semi;
    }
    out.append({key, value});
    if (j < 0) break;
    i = j + 1;
  }
  return true;
}

// The value of a key, compared without regard to case; empty when it is missing.
QString attribute(const QList<std::pair<QString, QString>>& attributes, const QString& key) {
  for (const auto& [k, v] : attributes)
    if (k.compare(key, Qt::CaseInsensitive) == 0) return v;
  return {};
}

// A string of a data source, a user and a password only, each once.
bool data_source_only(const QList<std::pair<QString, QString>>& attributes) {
  QStringList seen;
  for (const auto& [k, v] : attributes) {
    const QString key = k.toUpper();
    if ((key != QStringLiteral("DSN") && key != QStringLiteral("UID") &&
         key != QStringLiteral("PWD")) ||
        seen.contains(key))
      return false;
    seen.append(key);
  }
  return seen.contains(QStringLiteral("DSN"));
}

QString profile_value(const QString& dsn, const char* key) {
  UWORD old = ODBC_BOTH_DSN;
  SQLGetConfigMode(&old);
  SQLSetConfigMode(ODBC_USER_DSN);
  char buf[4096] = {0};
  const QByteArray section = dsn.toUtf8();
  int n = SQLGetPrivateProfileString(section.constData(), key, "", buf, sizeof buf, "odbc.ini");
  SQLSetConfigMode(old);
  return n > 0 ? QString::fromUtf8(buf, n) : QString();
}

// A data source of the local engine names its driver file, wod50t.dll, as the programs
// register it.
bool names_local_engine_driver(const QString& dsn) {
  const QString driver = profile_value(dsn, "Driver");
  return QFileInfo(driver).fileName().endsWith(QStringLiteral("wod50t.dll"), Qt::CaseInsensitive);
}

}  // namespace

QString odbc_quote(const QString& value) {
  if (value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('{')) ||
      value.contains(QLatin1Char('}')) || value.contains(QLatin1Char('=')) ||
      value != value.trimmed()) {
    QString v = value;
    v.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + v + QLatin1Char('}');
  }
  return value;
}

QString local_engine_file(const QString& dsn) {
  return names_local_engine_driver(dsn) ? profile_value(dsn, "DatabaseFile") : QString();
}

QString sqlite_file_uri(const QString& path) {
  // "file:///abs" keeps a path that begins with "//" from being read as a host name.
  const QString head =
      path.startsWith(QLatin1Char('/')) ? QStringLiteral("file://") : QStringLiteral("file:");
  return head + QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
}

QString odbc_driver_path(const char* file, const char* registered, bool braced) {
  const QString path = QStringLiteral(SALON_ODBC_DRIVER_DIR "/") + QLatin1String(file);
  if (QFileInfo::exists(path)) return path;
  return braced ? QLatin1Char('{') + QLatin1String(registered) + QLatin1Char('}')
                : QLatin1String(registered);
}

OdbcTarget resolve_local_engine(const QString& connection_string, DbError& err) {
  QList<std::pair<QString, QString>> attributes;
  const bool parsed = parse_attributes(connection_string, attributes);
  if (!parsed || !data_source_only(attributes)) {
    const QString driver = parsed ? attribute(attributes, QStringLiteral("Driver")) : QString();
    const bool sqlite =
        QFileInfo(driver).fileName().contains(QStringLiteral("sqlite"), Qt::CaseInsensitive);
    return {connection_string, sqlite, {}};
  }
  const QString dsn = attribute(attributes, QStringLiteral("DSN"));
  if (!names_local_engine_driver(dsn)) {
    OdbcTarget target;
    target.data_source = dsn;
    target.user = attribute(attributes, QStringLiteral("UID"));
    target.password = attribute(attributes, QStringLiteral("PWD"));
    return target;
  }
  const QString file = profile_value(dsn, "DatabaseFile");
  if (file.isEmpty() || !QFileInfo(file).isFile()) {
    err = {-1, QStringLiteral("数据源 %1 的数据库文件不存在: %2").arg(dsn, file)};
    return {};
  }
  // The driver reads a value up to the next ';' and knows no braces: the path goes as a file
  // URI, which SQLite decodes, so that any file name the file system allows reaches it.
  return {QStringLiteral("Driver=%1;Database=%2;NoCreat=1;Timeout=5000")
              .arg(odbc_driver_path("libsqlite3odbc.so", "SQLite3", true), sqlite_file_uri(file)),
          true, file};
}

std::unique_ptr<Backend> odbc_connect(const OdbcTarget& target, bool auto_commit, DbError& err) {
  OdbcConnection connection(target.narrow);
  std::optional<ScopedOdbcProfile> profile;
  if (!target.profile.isEmpty() && !profile.emplace(target.profile).error().isEmpty()) {
    err = {-1, profile->error()};
    return nullptr;
  }
  const bool opened =
      target.data_source.isEmpty()
          ? connection.open(target.connection_string, err)
          : connection.open_data_source(target.data_source, target.user, target.password, err);
  profile.reset();
  if (!opened) return nullptr;
  if (!apply_auto_commit(connection.dbc(), auto_commit)) {
    err = odbc_diagnostics(
        SQL_HANDLE_DBC, connection.dbc(),
        auto_commit ? "auto_commit could not be turned on" : "auto_commit could not be turned off",
        target.narrow);
    return nullptr;
  }
  auto backend = std::make_unique<OdbcBackend>(std::move(connection));
  if (!target.database_file.isEmpty() &&
      !local_engine_holds_tables(*backend, target.database_file, err))
    return nullptr;
  return backend;
}

}  // namespace db
