#include "tests/support/driven_program.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace test {

int run_driven_program(const QString& program, const QString& script, const QString& log,
                       int timeout_ms, QProcessEnvironment env) {
  QProcess p;
  const QString preload = env.value("LD_PRELOAD");
  env.insert("LD_PRELOAD", preload.isEmpty() ? QStringLiteral(SALON_GUI_DRIVER)
                                             : QStringLiteral(SALON_GUI_DRIVER " ") + preload);
  env.insert("SALON_DRIVER_SCRIPT", script);
  env.insert("SALON_DRIVER_LOG", log);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  // A sanitized build wants its runtime first among the libraries; the driver comes first.
  env.insert("ASAN_OPTIONS",
             env.value("ASAN_OPTIONS") + QStringLiteral(":verify_asan_link_order=0"));
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::ForwardedChannels);
  p.start(program, {});
  if (!p.waitForStarted() || !p.waitForFinished(timeout_ms)) {
    p.kill();
    p.waitForFinished();
    return -1;
  }
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QString copy_program(const QString& program, const QString& folder) {
  const QString copy = QDir(folder).filePath(QFileInfo(program).fileName());
  if (!QFile::copy(program, copy)) return {};
  QFile::setPermissions(copy, QFile::permissions(copy) | QFileDevice::ExeOwner);
  return copy;
}

}  // namespace test
