#include "db/embedded_backend.h"

#include <QDir>
#include <functional>

#include "db/embedded_values.h"
#include "db/master_catalog.h"
#include "db/sqlite_util.h"
#include "db/stored_values.h"
#include "db/system_databases.h"
#include "db/tsql_dialect.h"
#include "db/tsql_rebuild.h"
#include "db/tsql_store.h"

namespace db {
namespace {

// A statement SQLite runs.
class SqlStatement final : public Statement {
 public:
  // `markers`: per '?' marker, the column whose whole value it is (None: as it is given).
  SqlStatement(EmbeddedBackend* owner, sqlite3_stmt* st, QString created_table,
               std::vector<Declared> markers)
      : owner_(owner),
        st_(st),
        created_table_(std::move(created_table)),
        markers_(std::move(markers)) {
    for (Declared& m : markers_)
      if (!converts(m)) m = {};
  }
  ~SqlStatement() override { sqlite3_finalize(st_); }

  bool bind(const std::vector<Value>& params, DbError& err) override {
    if (!start_binding(static_cast<int>(params.size()), err)) return false;
    for (size_t i = 0; i < params.size(); ++i) {
      const Value& v = params[i];
      if (i < markers_.size() && markers_[i].type != DeclaredType::None && !v.is_null()) {
        Given g;
        QByteArray u;
        if (v.kind() == Value::Kind::Integer) {
          g.storage = SQLITE_INTEGER;
          g.integer = v.to_integer();
        } else if (v.kind() == Value::Kind::Double || (v.kind() == Value::Kind::Decimal &&
                                                       markers_[i].type == DeclaredType::Integer)) {
          // A decimal host value is a number: an integer column truncates it, as SQL Server
          // does, where it refuses the text '2.5'.
          g.storage = SQLITE_FLOAT;
          g.real = v.to_double();
        } else {
          u = v.to_text().toUtf8();
          g.storage = SQLITE_TEXT;
          g.text = {u.constData(), static_cast<size_t>(u.size())};
        }
        const int rc = bind_stored(static_cast<int>(i + 1), markers_[i], g, SQLITE_TRANSIENT, err);
        if (rc == SQLITE_OK) continue;
        if (rc != SQLITE_DONE) return failed(err);
        return false;
      }
      if (bind_value(st_, static_cast<int>(i + 1), v) != SQLITE_OK) return failed(err);
    }
    return true;
  }

  // The bytes are bound where they lie; they must stay put until execute().
  bool bind_texts(const TextCell* cells, int count, DbError& err) override {
    if (!start_binding(count, err)) return false;
    for (int i = 0; i < count; ++i) {
      const size_t n = static_cast<size_t>(i);
      int rc;
      if (cells[i].is_null()) {
        rc = sqlite3_bind_null(st_, i + 1);
      } else if (n < markers_.size() && markers_[n].type != DeclaredType::None) {
        Given g;
        g.storage = SQLITE_TEXT;
        g.text = {cells[i].data, static_cast<size_t>(cells[i].size)};
        rc = bind_stored(i + 1, markers_[n], g, SQLITE_STATIC, err);
        if (rc == SQLITE_DONE) return false;
      } else {
        rc = sqlite3_bind_text(st_, i + 1, cells[i].data, cells[i].size, SQLITE_STATIC);
      }
      if (rc != SQLITE_OK) return failed(err);
    }
    return true;
  }

  bool execute(DbError& err) override {
    if (!owner_->open_implicit_transaction(err)) return false;
    return created_table_.isEmpty() ? run(err) : create_table(err);
  }

  // A create and the rebuild that makes its key columns not null are one change: a crash
  // between the two must not leave a table whose key takes nulls.
  bool create_table(DbError& err) {
    sqlite3* db = owner_->handle();
    if (!sqlite_exec(db, QStringLiteral("SAVEPOINT create_table"), err)) return false;
    if (run(err) && tsql::key_columns_not_null(db, created_table_, err) &&
        sqlite_exec(db, QStringLiteral("RELEASE create_table"), err))
      return true;
    DbError ignored;
    sqlite_exec(db, QStringLiteral("ROLLBACK TO create_table"), ignored);
    sqlite_exec(db, QStringLiteral("RELEASE create_table"), ignored);
    return false;
  }

  bool run(DbError& err) {
    sqlite3_reset(st_);
    pending_row_ = at_end_ = false;
    rows_ = 0;
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) {
      pending_row_ = true;
      return true;
    }
    if (rc != SQLITE_DONE) {
      err = sqlite_failure(owner_->handle());
      sqlite3_reset(st_);
      return false;
    }
    at_end_ = true;
    if (sqlite3_column_count(st_) == 0) rows_ = sqlite3_changes(owner_->handle());
    return true;
  }

  bool fetch(DbError& err) override {
    if (pending_row_) {
      pending_row_ = false;
      return true;
    }
    if (at_end_) return false;
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    at_end_ = true;
    if (rc != SQLITE_DONE) {
      err = sqlite_failure(owner_->handle());
      sqlite3_reset(st_);
    }
    return false;
  }

  int column_count() override { return sqlite3_column_count(st_); }
  QString column_name(int col) override { return QString::fromUtf8(sqlite3_column_name(st_, col)); }
  Value column(int col) override { return read_column(st_, col, declared(col)); }
  bool column_cell(int col, std::string& out) override {
    bool handled = false;
    const bool has = read_cell(st_, col, declared(col), out, handled);
    return handled ? has : Statement::column_cell(col, out);
  }
  long rows_affected() override { return rows_; }

 private:
  // The declared types, read once per statement rather than once per cell.
  const Declared& declared(int col) {
    if (declared_.empty()) {
      const int n = sqlite3_column_count(st_);
      declared_.resize(static_cast<size_t>(n));
      for (int i = 0; i < n; ++i)
        declared_[static_cast<size_t>(i)] = declared_type(sqlite3_column_decltype(st_, i));
    }
    return declared_[static_cast<size_t>(col)];
  }

  // Binds what the column stores when given `g` (whose bytes SQLite copies, or that stay put
  // until execute(), as `bytes` says): SQLITE_OK, SQLite's code, or SQLITE_DONE with `err` set
  // when the column refuses the value.
  int bind_stored(int index, const Declared& column, const Given& g, sqlite3_destructor_type bytes,
                  DbError& err) {
    Stored s = store_value(column, g);
    switch (s.kind) {
      case Stored::Kind::Same:
        break;
      case Stored::Kind::Integer:
        return sqlite3_bind_int64(st_, index, s.integer);
      case Stored::Kind::Text:
        return sqlite3_bind_text(st_, index, s.text.data(), static_cast<int>(s.text.size()),
                                 SQLITE_TRANSIENT);
      case Stored::Kind::Refused:
        err = s.error;
        return SQLITE_DONE;
    }
    switch (g.storage) {
      case SQLITE_INTEGER:
        return sqlite3_bind_int64(st_, index, g.integer);
      case SQLITE_FLOAT:
        return sqlite3_bind_double(st_, index, g.real);
      default:
        return sqlite3_bind_text(st_, index, g.text.data(), static_cast<int>(g.text.size()), bytes);
    }
  }

  bool start_binding(int count, DbError& err) {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
    const int markers = sqlite3_bind_parameter_count(st_);
    if (count == markers) return true;
    err = {8144, QStringLiteral("The statement has %1 parameter markers but %2 values were "
                                "supplied.")
                     .arg(markers)
                     .arg(count)};
    return false;
  }
  bool failed(DbError& err) {
    err = sqlite_failure(owner_->handle());
    return false;
  }

  EmbeddedBackend* owner_;
  sqlite3_stmt* st_;
  QString created_table_;
  std::vector<Declared> markers_;
  std::vector<Declared> declared_;
  bool pending_row_ = false;
  bool at_end_ = false;
  long rows_ = 0;
};

// A statement the server carries out itself (commit, attach, table rebuilds).
class ActionStatement final : public Statement {
 public:
  explicit ActionStatement(std::function<bool(DbError&)> action) : action_(std::move(action)) {}
  bool bind(const std::vector<Value>& params, DbError& err) override {
    if (params.empty()) return true;
    err = {8144, QStringLiteral("This statement takes no parameters.")};
    return false;
  }
  bool execute(DbError& err) override { return action_(err); }
  bool fetch(DbError&) override { return false; }
  int column_count() override { return 0; }
  QString column_name(int) override { return {}; }
  Value column(int) override { return {}; }
  long rows_affected() override { return 0; }

 private:
  std::function<bool(DbError&)> action_;
};

// Runs `work` on the master catalog of the server's folder, through a connection of its own.
bool on_catalog(const QString& folder, DbError& err, const std::function<bool(sqlite3*)>& work) {
  const SqliteConnection catalog = open_master_catalog(folder, err);
  return catalog && work(catalog.get());
}

bool only_separators(const char* tail) {
  for (; tail && *tail; ++tail)
    if (*tail != ';' && !QChar::isSpace(static_cast<uchar>(*tail))) return false;
  return true;
}

}  // namespace

EmbeddedBackend::EmbeddedBackend(SqliteConnection db, bool auto_commit, QString server_folder)
    : db_(std::move(db)), auto_commit_(auto_commit), folder_(std::move(server_folder)) {
  register_store_function(db_.get());
}

std::vector<tsql::TargetColumn> EmbeddedBackend::table_columns(const QString& table) {
  std::vector<tsql::TargetColumn> out;
  SqliteStmt st;
  DbError ignored;
  if (!st.prepare(db_.get(), QStringLiteral("select name, type from pragma_table_info(?1)"),
                  ignored))
    return out;
  st.bind_text(1, table);
  while (st.step(ignored)) out.push_back({st.text(0), st.text(1)});
  return out;
}

bool EmbeddedBackend::open_implicit_transaction(DbError& err) {
  if (auto_commit_ || !sqlite3_get_autocommit(db_.get())) return true;
  return sqlite_exec(db_.get(), QStringLiteral("BEGIN"), err);
}

bool EmbeddedBackend::end_transaction(const char* how, DbError& err) {
  // Without an open transaction there is nothing to end, and SQL Server says nothing.
  if (sqlite3_get_autocommit(db_.get()) || in_unit_) return true;
  return sqlite_exec(db_.get(), QString::fromLatin1(how), err);
}

bool EmbeddedBackend::commit(DbError& err) { return end_transaction("COMMIT", err); }
bool EmbeddedBackend::rollback(DbError& err) { return end_transaction("ROLLBACK", err); }

bool EmbeddedBackend::begin_unit(DbError& err) {
  if (!open_implicit_transaction(err) ||
      !sqlite_exec(db_.get(), QStringLiteral("SAVEPOINT data_store_unit"), err))
    return false;
  in_unit_ = true;
  return true;
}

bool EmbeddedBackend::end_unit(bool keep, DbError& err) {
  if (!in_unit_) return true;
  in_unit_ = false;
  DbError undo;
  if (!keep) sqlite_exec(db_.get(), QStringLiteral("ROLLBACK TO data_store_unit"), undo);
  if (sqlite_exec(db_.get(), QStringLiteral("RELEASE data_store_unit"), err)) return true;
  // A release that fails (a busy database) leaves the unit open: undo it rather than keep it
  // half-known.
  sqlite_exec(db_.get(), QStringLiteral("ROLLBACK TO data_store_unit"), undo);
  sqlite_exec(db_.get(), QStringLiteral("RELEASE data_store_unit"), undo);
  return false;
}

std::unique_ptr<Statement> EmbeddedBackend::prepare(const QString& sql, DbError& err) {
  using Kind = tsql::Command::Kind;
  const tsql::Command c = tsql::classify(sql);
  switch (c.kind) {
    case Kind::Invalid:
      err = c.error;
      return nullptr;
    case Kind::Commit:
      return std::make_unique<ActionStatement>([this](DbError& e) { return commit(e); });
    case Kind::Rollback:
      return std::make_unique<ActionStatement>([this](DbError& e) { return rollback(e); });
    case Kind::AttachDb:
      return std::make_unique<ActionStatement>([this, c](DbError& e) {
        if (const auto refused = system_database_refusal(c.names[0])) {
          e = *refused;
          return false;
        }
        // A path without a folder is taken from the server's own folder.
        const QDir home(folder_);
        return on_catalog(folder_, e, [&](sqlite3* catalog) {
          return attach_database(catalog, c.names[0], home.absoluteFilePath(c.names[1]),
                                 home.absoluteFilePath(c.names[2]), e);
        });
      });
    case Kind::DetachDb:
      return std::make_unique<ActionStatement>([this, c](DbError& e) {
        return on_catalog(
            folder_, e, [&](sqlite3* catalog) { return detach_database(catalog, c.names[0], e); });
      });
    case Kind::AlterColumn:
    case Kind::AddPrimaryKey:
      return std::make_unique<ActionStatement>([this, c](DbError& e) {
        if (!open_implicit_transaction(e)) return false;
        return c.kind == Kind::AlterColumn ? tsql::alter_column(db_.get(), c, e)
                                           : tsql::add_primary_key(db_.get(), c, e);
      });
    case Kind::Pass:
    case Kind::CreateTable:
      break;
  }
  // Each value reaches its column as SQL Server would store it.
  const tsql::StoreStatement stored = tsql::store_values(
      c.sql, [this](const QString& table) { return table_columns(table); },
      [](const QString& type) { return converts(declared_type(type.toUtf8().constData())); });
  std::vector<Declared> markers;
  for (const QString& type : stored.marker_types)
    markers.push_back(type.isEmpty() ? Declared{} : declared_type(type.toUtf8().constData()));
  const QByteArray u = stored.sql.toUtf8();
  sqlite3_stmt* st = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db_.get(), u.constData(), static_cast<int>(u.size()), &st, &tail) !=
      SQLITE_OK) {
    err = sqlite_failure(db_.get());
    return nullptr;
  }
  if (!st || !only_separators(tail)) {
    sqlite3_finalize(st);
    err = st ? DbError{170, QStringLiteral("The embedded server runs one statement at a time.")}
             : tsql::syntax_error(sql.trimmed());
    return nullptr;
  }
  return std::make_unique<SqlStatement>(this, st, c.kind == Kind::CreateTable ? c.table : QString(),
                                        std::move(markers));
}

}  // namespace db
