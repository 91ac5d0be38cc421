#include "tests/upgrade/trace_double.h"

#include <QRegularExpression>
#include <memory>
#include <optional>
#include <utility>

#include "db/backend.h"
#include "db/transaction.h"

namespace test {
namespace {

struct State {
  QString version;
  QStringList trace;
};
std::unique_ptr<State> g_state;

class AnsweringStatement final : public db::Statement {
 public:
  explicit AnsweringStatement(std::optional<db::Value> row) : row_(std::move(row)) {}
  bool bind(const std::vector<db::Value>&, db::DbError&) override { return true; }
  bool execute(db::DbError&) override {
    pending_ = row_.has_value();
    return true;
  }
  bool fetch(db::DbError&) override { return std::exchange(pending_, false); }
  int column_count() override { return row_ ? 1 : 0; }
  QString column_name(int) override { return QStringLiteral("x"); }
  db::Value column(int) override { return row_ ? *row_ : db::Value(); }
  long rows_affected() override { return 1; }

 private:
  std::optional<db::Value> row_;
  bool pending_ = false;
};

class TraceBackend final : public db::Backend {
 public:
  std::unique_ptr<db::Statement> prepare(const QString& sql, db::DbError& err) override {
    g_state->trace << sql;
    if (sql == QStringLiteral("select isnull ( bb , '0' ) from sys where id =1"))
      return std::make_unique<AnsweringStatement>(db::Value::text(g_state->version));
    if (is_presence_probe(sql)) {
      err = {207, QStringLiteral("Invalid object or column name.")};
      return nullptr;
    }
    if (sql.startsWith(QStringLiteral("select count"), Qt::CaseInsensitive))
      return std::make_unique<AnsweringStatement>(db::Value::integer(1));
    return std::make_unique<AnsweringStatement>(std::nullopt);
  }
  bool commit(db::DbError&) override { return record("COMMIT"); }
  bool rollback(db::DbError&) override { return record("ROLLBACK"); }
  bool begin_unit(db::DbError&) override { return record("BEGIN UNIT"); }
  bool end_unit(bool, db::DbError&) override { return record("END UNIT"); }

 private:
  static bool record(const char* what) {
    g_state->trace << QString::fromLatin1(what);
    return true;
  }
};

std::unique_ptr<db::Backend> connect_double(const db::ConnectRequest&, db::DbError&) {
  return std::make_unique<TraceBackend>();
}

db::EmbeddedFactory g_previous = nullptr;

}  // namespace

bool is_presence_probe(const QString& sql) {
  static const QRegularExpression probe(
      QStringLiteral("^select count \\( (\\*|\\S+ )\\) from \\S+$"));
  return probe.match(sql).hasMatch();
}

TraceDouble::TraceDouble(const QString& version) {
  g_state = std::make_unique<State>(State{version, {}});
  g_previous = db::embedded_factory();
  db::set_embedded_factory(&connect_double);
  sqlca.disconnect();
  sqlca.interface_id = QStringLiteral("MSS Microsoft SQL Server 6.x");
  sqlca.server = QStringLiteral("(embedded)");
  sqlca.db_name = QStringLiteral("velmo41");
  sqlca.auto_commit = true;
  sqlca.connect();
}

TraceDouble::~TraceDouble() {
  sqlca.disconnect();
  db::set_embedded_factory(g_previous);
  g_state.reset();
}

const QStringList& TraceDouble::trace() const { return g_state->trace; }

}  // namespace test
