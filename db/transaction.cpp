#include "db/transaction.h"

#include <QLocale>

#include "db/freetds_target.h"
#include "db/odbc_backend.h"

db::Transaction sqlca;

namespace db {
namespace {

EmbeddedFactory g_embedded = nullptr;
HeldFileCheck g_held = nullptr;

const QString kOdbc = QStringLiteral("ODBC");
const QString kMss = QStringLiteral("MSS Microsoft SQL Server 6.x");
const QString kEmbedded = QStringLiteral("(embedded)");

}  // namespace

void set_embedded_factory(EmbeddedFactory f) { g_embedded = f; }
EmbeddedFactory embedded_factory() { return g_embedded; }
bool is_embedded_server(const QString& server) {
  return server.trimmed().compare(kEmbedded, Qt::CaseInsensitive) == 0;
}
void set_held_file_check(HeldFileCheck f) { g_held = f; }
bool file_held_by_server(const QString& path) { return g_held && g_held(path); }

QString connect_string_of(const QString& connect_params) {
  const QString p = connect_params.trimmed();
  static const QString head = QStringLiteral("Connectstring='");
  if (p.startsWith(head, Qt::CaseInsensitive) && p.endsWith(QLatin1Char('\'')) &&
      p.size() > head.size())
    return p.mid(head.size(), p.size() - head.size() - 1);
  return p;
}

bool Statement::bind_texts(const TextCell* cells, int count, DbError& err) {
  std::vector<Value> values;
  values.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    values.push_back(cells[i].is_null()
                         ? Value::null()
                         : Value::text(QString::fromUtf8(cells[i].data, cells[i].size)));
  return bind(values, err);
}

bool Statement::column_cell(int col, std::string& out) {
  const Value v = column(col);
  if (v.is_null()) return false;
  out = (v.kind() == Value::Kind::Double
             ? QString::number(v.to_double(), 'g', QLocale::FloatingPointShortest)
             : v.to_text())
            .toStdString();
  return true;
}

bool Backend::begin_unit(DbError&) { return true; }
bool Backend::end_unit(bool, DbError&) { return true; }
bool Backend::close(DbError&) { return true; }

Transaction::Transaction() = default;
Transaction::~Transaction() = default;

void Transaction::set_result(bool ok, const DbError& err) {
  if (ok) {
    status = 0;
    db_error_code = 0;
    db_error_text.clear();
  } else {
    status = -1;
    db_error_code = err.code;
    db_error_text = err.text;
  }
}

void Transaction::not_connected() {
  set_result(false, {-1, QStringLiteral("Transaction not connected")});
  sqlnrows = 0;
}

bool Transaction::injected_fault(const QString& sql) {
  if (!fault_) return false;
  if (auto err = fault_(sql)) {
    set_result(false, *err);
    sqlnrows = 0;
    return true;
  }
  return false;
}

void Transaction::connect() {
  backend_.reset();
  database_file_.clear();
  DbError err;
  const ConnectRequest req{interface_id, server,         db_name,    login,
                           password,     connect_params, auto_commit};
  if (injected_fault(QStringLiteral("CONNECT ") + interface_id + QLatin1Char(' ') + db_name))
    return;
  if (interface_id.compare(kOdbc, Qt::CaseInsensitive) == 0) {
    const OdbcTarget target = resolve_local_engine(connect_string_of(connect_params), err);
    if (!target.connection_string.isEmpty() || !target.data_source.isEmpty())
      backend_ = odbc_connect(target, auto_commit, err);
    if (backend_) database_file_ = target.database_file;
  } else if (interface_id.compare(kMss, Qt::CaseInsensitive) == 0) {
    if (is_embedded_server(server)) {
      if (g_embedded)
        backend_ = g_embedded(req, err);
      else
        err = {-1, QStringLiteral("the embedded server is not part of this program")};
    } else {
      const OdbcTarget target = freetds_target(server, db_name, login, password, err);
      if (!target.data_source.isEmpty()) backend_ = odbc_connect(target, auto_commit, err);
    }
  } else {
    err = {-1, QStringLiteral("unknown database interface: ") + interface_id};
  }
  set_result(backend_ != nullptr, err);
}

void Transaction::disconnect() {
  if (!backend_) {
    status = 0;
    return;
  }
  // A connection the database has not let go stays here, connected as far as anyone can tell,
  // for the next disconnect or connect to end.
  DbError err;
  if (!backend_->close(err)) return set_result(false, err);
  backend_.reset();
  database_file_.clear();
  set_result(true, {});
}

void Transaction::commit() {
  if (!backend_) return not_connected();
  if (injected_fault(QStringLiteral("COMMIT"))) return;
  DbError err;
  set_result(backend_->commit(err), err);
}

void Transaction::rollback() {
  if (!backend_) return not_connected();
  if (injected_fault(QStringLiteral("ROLLBACK"))) return;
  DbError err;
  set_result(backend_->rollback(err), err);
}

bool Transaction::begin_unit() {
  if (!backend_) {
    not_connected();
    return false;
  }
  if (injected_fault(QStringLiteral("BEGIN UNIT"))) return false;
  DbError err;
  const bool ok = backend_->begin_unit(err);
  if (!ok) set_result(false, err);
  return ok;
}

bool Transaction::end_unit(bool keep) {
  if (!backend_) {
    not_connected();
    return false;
  }
  if (injected_fault(keep ? QStringLiteral("END UNIT") : QStringLiteral("UNDO UNIT"))) {
    // As when the server cannot store the unit: it is undone.
    DbError ignored;
    backend_->end_unit(false, ignored);
    return false;
  }
  DbError err;
  const bool ok = backend_->end_unit(keep, err);
  if (!ok) set_result(false, err);
  return ok;
}

std::unique_ptr<Statement> Transaction::prepare(const QString& sql) {
  if (!backend_) {
    not_connected();
    return nullptr;
  }
  if (injected_fault(sql)) return nullptr;
  DbError err;
  auto st = backend_->prepare(sql, err);
  set_result(st != nullptr, err);
  return st;
}

void Transaction::execute_immediate(const QString& sql) { execute(sql, {}); }

void Transaction::execute(const QString& sql, const std::vector<Value>& params) {
  sqlnrows = 0;
  auto st = prepare(sql);
  if (!st) return;
  DbError err;
  bool ok = st->bind(params, err) && st->execute(err);
  if (ok) sqlnrows = st->rows_affected();
  set_result(ok, err);
}

std::vector<Value> Transaction::select_row(const QString& sql, const std::vector<Value>& params) {
  sqlnrows = 0;
  auto st = prepare(sql);
  if (!st) return {};
  DbError err;
  if (!st->bind(params, err) || !st->execute(err)) {
    set_result(false, err);
    return {};
  }
  if (!st->fetch(err)) {
    if (!err.text.isEmpty() || err.code != 0) {
      set_result(false, err);
    } else {
      set_result(true, {});
      status = 100;
    }
    return {};
  }
  std::vector<Value> row;
  const int n = st->column_count();
  row.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) row.push_back(st->column(i));
  set_result(true, {});
  sqlnrows = 1;
  return row;
}

}  // namespace db
