// Times kestrel's Start action on the embedded server over a generated old database of
// 1,000,000 rows (members, documents, document items), phase by phase, next to the sqlite3
// shell's own tab-separated export and .import of the same tables, in one run.
//
//   rebuild_bench [members] [documents] [items]   (defaults 200000 300000 500000; sqlite3 on PATH)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "db/transaction.h"
#include "kestrel/rebuild/start_action.h"
#include "kestrel/rebuild/tab_back_store.h"
#include "kestrel/upgrade/chain.h"
#include "runtime/dialogs.h"
#include "shared/globals.h"
#include "tests/shared/fake_panel.h"
#include "tools/fixture.h"
#include "tools/old_database.h"

namespace {

// Answers nothing and prints every box.
class PrintedDialogs final : public rt::Dialogs {
 public:
  void notice(const QString& t, const QString& x) override { print("notice", t, x); }
  void failure(const QString& t, const QString& x) override { print("failure", t, x); }
  bool question(const QString& t, const QString& x, bool) override {
    print("question", t, x);
    return false;
  }
  rt::FileChoice open_file(const QString&, const QString&, const QString&) override { return {}; }
  QStringList shown;

 private:
  void print(const char* kind, const QString& t, const QString& x) {
    shown << t + QLatin1Char('|') + x;
    std::printf("  [%s] %s | %s\n", kind, qPrintable(t), qPrintable(x));
  }
};

// The window, marking the phase boundaries by the texts the action shows.
class TimedWindow final : public rebuild::StartWindow {
 public:
  bool keep_cash = false;
  QElapsedTimer clock;
  std::vector<std::pair<QString, qint64>> marks;
  void mark(const QString& phase) { marks.push_back({phase, clock.elapsed()}); }

  TimedWindow() {
    connection.local(QStringLiteral("(embedded)"), QStringLiteral("velmo40"), QStringLiteral("sa"),
                     {}, {});
    connection.check_kind(2);
  }
  shared::connection_panel& panel() override { return connection; }
  // By default cash consumption is not kept, so the purge deletes documents and their items;
  // "keep-all" runs with the window's own defaults, where the purge deletes nothing.
  bool cbx_checked(int n) const override { return n == 2 || n == 3 || (n == 4 && keep_cash); }
  QString em_1_text() const override { return {}; }
  QString em_2_text() const override { return QStringLiteral("100.00"); }
  void set_st_11(const QString& t) override {
    if (t == QStringLiteral("导出2 -->1")) mark(QStringLiteral("export"));
    if (t == QStringLiteral("升级数据库")) mark(QStringLiteral("upgrade"));
    if (t == QStringLiteral("初始化...1/") + QString::number(gi_tables))
      mark(QStringLiteral("emptying"));
    if (t == QStringLiteral("复制完成!")) mark(QStringLiteral("purge"));
  }
  void hpb_start(int) override {}
  void hpb_stepit() override {}
  void open_w_wait(const QString&) override { mark(QStringLiteral("import")); }
  void set_w_wait_text(const QString&) override {}
  // The rows counted against the export, then the one commit of the emptying and the import.
  void close_w_wait() override { mark(QStringLiteral("count+commit")); }

 private:
  test::fake_panel connection;
};

qint64 shell(const QStringList& args, const QString& input = {}) {
  QElapsedTimer t;
  t.start();
  QProcess p;
  p.start(QStringLiteral("sqlite3"), args);
  if (!input.isEmpty()) p.write(input.toUtf8());
  p.closeWriteChannel();
  p.waitForFinished(-1);
  if (p.exitCode() != 0)
    std::fprintf(stderr, "sqlite3: %s\n", p.readAllStandardError().constData());
  return t.elapsed();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const long members = argc > 1 ? std::atol(argv[1]) : 200000;
  const long documents = argc > 2 ? std::atol(argv[2]) : 300000;
  const long items = argc > 3 ? std::atol(argv[3]) : 500000;
  PrintedDialogs dialogs;
  rt::set_dialogs(&dialogs);

  QTemporaryDir dir;
  const QString app_dir = dir.path() + QStringLiteral("/app/");
  const QString scratch = dir.path() + QStringLiteral("/tmpl/");
  QDir().mkpath(app_dir);
  QDir().mkpath(scratch);
  set_program_folder(scratch);
  tools::FixtureOptions tmpl;
  tmpl.db_name = QStringLiteral("tmpl");
  if (QString e = tools::build_fixture(tmpl); !e.isEmpty())
    return std::fprintf(stderr, "%s\n", qPrintable(e)), 1;
  set_program_folder(app_dir);
  QFile::copy(scratch + QStringLiteral("tmpl.mdf"), app_dir + QStringLiteral("base.mdf"));
  QFile::copy(scratch + QStringLiteral("tmpl.ldf"), app_dir + QStringLiteral("base.ldf"));
  tools::OldDatabaseOptions old;
  old.rows = {{QStringLiteral("mem_info"), members},
              {QStringLiteral("doc_m"), documents},
              {QStringLiteral("doc_item"), items}};
  old.blank_keys = false;
  QElapsedTimer build;
  build.start();
  if (QString e = tools::build_old_database(old); !e.isEmpty())
    return std::fprintf(stderr, "%s\n", qPrintable(e)), 1;
  std::printf("old database: %ld members, %ld documents, %ld items (%ld rows), built in %lld ms\n",
              members, documents, items, members + documents + items, build.elapsed());

  // The sqlite3 shell on the same three tables: tab-separated export, then .import into a
  // database with the same tables.
  const QString mdf = app_dir + QStringLiteral("velmo40.mdf");
  const QString target = dir.path() + QStringLiteral("/shell.db");
  QProcess schema;
  schema.start(QStringLiteral("sqlite3"), {mdf, QStringLiteral(".schema mem_info doc_m doc_item")});
  schema.waitForFinished(-1);
  const QString ddl = QString::fromUtf8(schema.readAllStandardOutput());
  shell({target}, ddl);
  qint64 shell_export = 0, shell_import = 0;
  for (const char* t : {"mem_info", "doc_m", "doc_item"}) {
    const QString file =
        dir.path() + QStringLiteral("/") + QLatin1String(t) + QStringLiteral(".tsv");
    shell_export +=
        shell({QStringLiteral("-batch"), QStringLiteral("-cmd"), QStringLiteral(".mode tabs"),
               QStringLiteral("-cmd"), QStringLiteral(".output ") + file, mdf,
               QStringLiteral("select * from ") + QLatin1String(t)});
    shell_import += shell({QStringLiteral("-batch"), target},
                          QStringLiteral(".mode tabs\n.import ") + file + QLatin1Char(' ') +
                              QLatin1String(t) + QLatin1Char('\n'));
  }

  // Where the export's time goes, on the largest table.
  {
    tools::connect_fixture(QStringLiteral("velmo40"));
    auto ds = rebuild::make_tab_back_store();
    ds->set_dataobject(QStringLiteral("tab_back_7"));  // doc_item
    ds->settransobject(sqlca);
    QElapsedTimer t;
    t.start();
    const long n = ds->retrieve();
    const qint64 retrieve_ms = t.restart();
    ds->saveas_text(dir.path() + QStringLiteral("/probe.txt"));
    std::printf("export of doc_item alone: retrieve %ld rows %lld ms, saveas %lld ms\n", n,
                retrieve_ms, t.elapsed());
    sqlca.disconnect();
  }

  TimedWindow w;
  w.keep_cash = argc > 4 && std::strcmp(argv[4], "keep-all") == 0;
  std::printf("keep options: %s\n",
              w.keep_cash ? "the window's defaults (keep all)" : "cash consumption not kept");
  rebuild::StartServices services{rebuild::make_tab_back_store,
                                  [] { return upgrade::run_chain() == upgrade::Outcome::done; },
                                  nullptr};
  w.clock.start();
  w.mark(QStringLiteral("attach"));
  rebuild::StartAction(w, services).clicked();
  const qint64 total = w.clock.elapsed();
  w.mark(QStringLiteral("end"));

  std::printf("rebuild on the embedded server, by phase:\n");
  for (size_t i = 0; i + 1 < w.marks.size(); ++i)
    std::printf("  %-12s %8lld ms\n", qPrintable(w.marks[i].first),
                w.marks[i + 1].second - w.marks[i].second);
  std::printf("  %-12s %8lld ms\n", "total", total);
  std::printf("sqlite3 shell, same three tables: export %lld ms + .import %lld ms = %lld ms\n",
              shell_export, shell_import, shell_export + shell_import);
  std::printf("ratio rebuild / shell: %.2f\n",
              double(total) / double(std::max<qint64>(1, shell_export + shell_import)));
  return dialogs.shown == QStringList{QStringLiteral("系统提示|数据库处理完毕!")} ? 0 : 1;
}
