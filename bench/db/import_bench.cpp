// Stores 1,000,000 rows of a 10-column table through the data store (importfile + update) on
// the embedded server, next to the sqlite3 shell's own .import of the same file into the same
// table, and prints rows per second for both.
//
//   db_import_bench [rows] [rounds]      (defaults 1000000 and 2; needs sqlite3 on PATH)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "db/data_store.h"
#include "db/embedded_server.h"
#include "db/sqlite_connection.h"
#include "db/transaction.h"

namespace {

const char kCreate[] =
    "create table bench (id int not null, code char(20) null, name char(60) null, qty int "
    "null, price decimal(16,2) null, sold datetime null, note char(100) null, rate float null, "
    "state int null, tag char(10) null, primary key (id))";

// Plain values only (no nulls, no escapes), so that both importers read the same rows.
QByteArray make_rows(long rows) {
  QByteArray out;
  out.reserve(rows * 110);
  char line[256];
  for (long i = 1; i <= rows; ++i) {
    const int n = std::snprintf(
        line, sizeof line,
        "%ld\tC%08ld\tmember %ld\t%ld\t%ld.%02ld\t2024-%02ld-%02ld 10:%02ld:%02ld.%03ld\t"
        "会员卡消费 %ld\t%ld.25\t%ld\tT%ld\n",
        i, i, i, i % 97, i % 100000, i % 100, i % 12 + 1, i % 28 + 1, i % 60, (i * 7) % 60,
        i % 1000, i % 13, i % 50, i % 3, i % 9);
    out.append(line, n);
  }
  return out;
}

bool make_database(const QString& path) {
  db::SqliteConnection db;
  return db.open(path.toUtf8().constData()) == SQLITE_OK &&
         sqlite3_exec(db.get(), "pragma user_version = 1", nullptr, nullptr, nullptr) == SQLITE_OK;
}

double shell_import(const QString& dir, const QString& file, int round) {
  const QString path = dir + QStringLiteral("/shell%1.db").arg(round);
  QProcess p;
  p.start(QStringLiteral("sqlite3"),
          {path, QString::fromLatin1(kCreate) + QLatin1Char(';'), QStringLiteral(".mode tabs"),
           QStringLiteral(".import ") + file + QStringLiteral(" bench"),
           QStringLiteral("select count(*) from bench;")});
  QElapsedTimer t;
  t.start();
  // The create of an empty table is part of both measurements.
  if (!p.waitForFinished(600000) || p.exitCode() != 0) {
    std::fprintf(stderr, "sqlite3 failed: %s\n", p.readAllStandardError().constData());
    return -1;
  }
  const double s = t.nsecsElapsed() / 1e9;
  std::printf("  sqlite3 .import: %s rows in %.3f s\n",
              p.readAllStandardOutput().trimmed().constData(), s);
  return s;
}

double store_import(const QString& dir, const QString& file, long rows, int round) {
  const QString name = QStringLiteral("bench%1").arg(round);
  const QString data = dir + QLatin1Char('/') + name + QStringLiteral(".mdf");
  const QString log = dir + QLatin1Char('/') + name + QStringLiteral(".ldf");
  if (!make_database(data)) return -1;
  QFile(log).open(QIODevice::WriteOnly);
  sqlca.interface_id = QStringLiteral("MSS Microsoft SQL Server 6.x");
  sqlca.server = QStringLiteral("(embedded)");
  sqlca.db_name = QStringLiteral("master");
  sqlca.auto_commit = true;
  sqlca.connect();
  sqlca.execute_immediate(QStringLiteral("sp_attach_db '%1','%2','%3'").arg(name, data, log));
  sqlca.disconnect();
  sqlca.db_name = name;
  sqlca.connect();
  if (sqlca.status != 0) return -1;

  QElapsedTimer t;
  t.start();
  sqlca.execute_immediate(QString::fromLatin1(kCreate));
  db::DataStore ds;
  ds.set_dataobject(QStringLiteral("bench"));
  ds.settransobject(sqlca);
  const long read = ds.importfile(file);
  const double imported = t.nsecsElapsed() / 1e9;
  const int updated = ds.update();
  const double s = t.nsecsElapsed() / 1e9;
  const auto count = sqlca.select_row(QStringLiteral("select count(*) from bench"));
  sqlca.disconnect();
  if (read != rows || updated != 1 || count.empty() || count[0].to_integer() != rows) {
    std::fprintf(stderr, "data store failed: read %ld, update %d, %s\n", read, updated,
                 sqlca.db_error_text.toUtf8().constData());
    return -1;
  }
  std::printf("  importfile + update: %ld rows in %.3f s (importfile %.3f s, update %.3f s)\n",
              rows, s, imported, s - imported);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 2;
  QTemporaryDir dir;
  db::set_embedded_server_folder(dir.path());
  db::install_embedded_server();
  using db::ColumnType;
  db::register_table_definition({.name = QStringLiteral("bench"),
                                 .select_sql = QStringLiteral("select * from bench"),
                                 .columns = {{QStringLiteral("id"), ColumnType::Integer},
                                             {QStringLiteral("code"), ColumnType::Text},
                                             {QStringLiteral("name"), ColumnType::Text},
                                             {QStringLiteral("qty"), ColumnType::Integer},
                                             {QStringLiteral("price"), ColumnType::Decimal, 2},
                                             {QStringLiteral("sold"), ColumnType::DateTime},
                                             {QStringLiteral("note"), ColumnType::Text},
                                             {QStringLiteral("rate"), ColumnType::Double},
                                             {QStringLiteral("state"), ColumnType::Integer},
                                             {QStringLiteral("tag"), ColumnType::Text}},
                                 .update_table = QStringLiteral("bench")});

  const QString file = dir.path() + QStringLiteral("/bench.txt");
  {
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(make_rows(rows)) < 0) return 1;
  }
  std::printf("%ld rows of 10 columns, %.1f MB of text\n", rows, QFile(file).size() / 1048576.0);
  double best_shell = 1e30, best_store = 1e30;
  for (int r = 1; r <= rounds; ++r) {
    std::printf("round %d\n", r);
    const double shell = shell_import(dir.path(), file, r);
    const double store = store_import(dir.path(), file, rows, r);
    if (shell < 0 || store < 0) return 1;
    best_shell = std::min(best_shell, shell);
    best_store = std::min(best_store, store);
  }
  std::printf(
      "best: sqlite3 .import %.0f rows/s, data store %.0f rows/s, ratio %.2f (target <= 2)\n",
      rows / best_shell, rows / best_store, best_store / best_shell);
  return best_store <= 2 * best_shell ? 0 : 2;
}
