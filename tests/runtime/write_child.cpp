// Runs one of the programs' whole-file writers in a process of its own, so that a test can
// load a full disk (libfull_disk.so) into it:
//   write_child copy <from> <to>                        rt::copy_file
//   write_child settings <file> <section> <key> <value> rt::set_profile_string
//   write_child saveas <input> <to>                     the export: importfile, then saveas
//   write_child snapshot <picture> <to>                 wren's replace_file, of that file's bytes
//   write_child wren-copy <from> <to>                   wren's copy_over
// Prints "ok", or "failed" and the reason where the writer gives one; exits 0 or 1.
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

#include "db/data_store.h"
#include "db/table_definitions.h"
#include "runtime/files.h"
#include "runtime/settings_file.h"
#include "wren/written_file.h"

namespace {

bool save_as(const QString& input, const QString& to) {
  if (!db::register_table_definition({.name = QStringLiteral("one"),
                                      .columns = {{QStringLiteral("t"), db::ColumnType::Text}}}))
    return false;
  db::DataStore ds;
  ds.set_dataobject(QStringLiteral("one"));
  return ds.importfile(input) > 0 && ds.saveas(to) == 1;
}

QByteArray contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList a = app.arguments();
  const QString what = a.value(1);
  QString reason;
  bool ok = false;
  if (what == "copy" && a.size() == 4)
    ok = rt::copy_file(a[2], a[3]);
  else if (what == "settings" && a.size() == 6)
    ok = rt::set_profile_string(a[2], a[3], a[4], a[5]) == 1;
  else if (what == "saveas" && a.size() == 4)
    ok = save_as(a[2], a[3]);
  else if (what == "snapshot" && a.size() == 4)
    ok = wren::replace_file(a[3], contents(a[2]), &reason);
  else if (what == "wren-copy" && a.size() == 4)
    ok = wren::copy_over(a[2], a[3], &reason);
  else
    reason = QStringLiteral("usage: see write_child.cpp");
  std::printf("%s %s\n", ok ? "ok" : "failed", reason.toUtf8().constData());
  return ok ? 0 : 1;
}
