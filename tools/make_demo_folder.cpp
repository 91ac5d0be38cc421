// Fills a program folder for a demonstration of kestrel: the old database velmo40 attached on
// the embedded server (and as velmo40.db for the local kind, registered as the data source
// velmo40 in the folder's own ODBC profile odbc.ini), the template base.mdf/base.ldf at an
// older version, and user.ini naming the embedded server. The programs are to be started with
// ODBCINI=<folder>/odbc.ini and XDG_CONFIG_HOME=<folder>/config, as scripts/demo does, so
// that nothing of the demo reaches the user's own profile and settings.
//   make_demo_folder <folder>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "db/transaction.h"
#include "shared/f_conect.h"
#include "shared/globals.h"
#include "tools/fixture.h"
#include "tools/old_database.h"

namespace {

int fail(const QString& what) {
  std::fprintf(stderr, "make_demo_folder: %s\n", what.toLocal8Bit().constData());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) return fail(QStringLiteral("usage: make_demo_folder <folder>"));
  const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
  if (!QDir().mkpath(folder + QStringLiteral("config")))
    return fail(QStringLiteral("cannot make ") + folder);
  // Before the first ODBC call: unixODBC reads ODBCINI once.
  qputenv("ODBCINI", QFile::encodeName(folder + QStringLiteral("odbc.ini")));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder + QStringLiteral("config")));

  // The template is built in a folder of its own, so the demo's server knows only velmo40.
  QTemporaryDir scratch;
  set_program_folder(scratch.path());
  tools::FixtureOptions tmpl;
  tmpl.db_name = QStringLiteral("tmpl");
  if (QString err = tools::build_fixture(tmpl); !err.isEmpty()) return fail(err);

  set_program_folder(folder);
  for (const char* ext : {".mdf", ".ldf"}) {
    const QString to = folder + QStringLiteral("base") + QLatin1String(ext);
    QFile::remove(to);
    if (!QFile::copy(scratch.filePath(QStringLiteral("tmpl") + QLatin1String(ext)), to))
      return fail(QStringLiteral("cannot write ") + to);
  }
  tools::OldDatabaseOptions old;
  old.upgraded = true;  // so that it has cards, appointments and messages too
  if (QString err = tools::build_old_database(old); !err.isEmpty()) return fail(err);
  QFile::remove(folder + QStringLiteral("velmo40.db"));
  if (!QFile::copy(folder + QStringLiteral("velmo40.mdf"), folder + QStringLiteral("velmo40.db")))
    return fail(QStringLiteral("cannot write velmo40.db"));

  // The data source plover's local test connects to, registered as the programs register one.
  f_conect(QStringLiteral("velmo40"), QString(), QStringLiteral("dba"),
           QStringLiteral("kpz531274"));
  const bool registered = sqlca.status == 0;
  const QString why = sqlca.db_error_text;
  sqlca.disconnect();
  if (!registered) return fail(QStringLiteral("cannot register velmo40: ") + why);

  tools::write_server_settings();
  std::printf("demo folder ready: %s\n", folder.toLocal8Bit().constData());
  return 0;
}
