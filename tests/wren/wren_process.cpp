#include "tests/wren/wren_process.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace wren::test {
namespace {

void write_file(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

}  // namespace

QStringList WrenResult::of(const QString& kind) const {
  QStringList out;
  const QString prefix = kind + QLatin1Char('|');
  for (const QString& l : lines)
    if (l.startsWith(prefix)) out << l.mid(prefix.size());
  return out;
}

WrenProcess::WrenProcess(const QString& folder) : folder_(QDir(folder).absolutePath()) {
  // A copy, not a link: the program finds its folder through its own executable.
  const QString wren = folder_ + QStringLiteral("/wren");
  QFile::remove(wren);
  QFile::copy(QStringLiteral(WREN_BINARY), wren);
  set_cameras({});
}

void WrenProcess::set_cameras(const QByteArray& config) {
  write_file(folder_ + QStringLiteral("/cameras.ini"), config);
}

WrenResult WrenProcess::run(const QStringList& script, int timeout_ms) const {
  const QString script_file = folder_ + QStringLiteral("/script.txt");
  write_file(script_file, script.join(QLatin1Char('\n')).toUtf8());
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("LD_PRELOAD"),
             QStringLiteral(EMULATED_V4L2_LIBRARY ":" WREN_TEST_SCRIPT_LIBRARY));
  env.insert(QStringLiteral("EMULATED_V4L2"), folder_ + QStringLiteral("/cameras.ini"));
  env.insert(QStringLiteral("WREN_TEST_SCRIPT"), script_file);
  // A sanitized wren would refuse a library loaded ahead of its runtime.
  QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
  if (!asan.isEmpty()) asan += QLatin1Char(':');
  env.insert(QStringLiteral("ASAN_OPTIONS"), asan + QStringLiteral("verify_asan_link_order=0"));
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(folder_);
  p.start(folder_ + QStringLiteral("/wren"), {});
  WrenResult r;
  const bool ended = p.waitForFinished(timeout_ms);
  if (!ended) {
    p.kill();
    p.waitForFinished();
  }
  r.exit_status = ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.lines =
      QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  r.errors = QString::fromUtf8(p.readAllStandardError());
  return r;
}

}  // namespace wren::test
