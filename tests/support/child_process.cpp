#include "tests/support/child_process.h"

#include <sys/wait.h>

#include <QCoreApplication>
#include <QProcess>

namespace test {

ChildEnd run_child(const QString& program, const QStringList& args, int timeout_ms,
                   const QProcessEnvironment& env) {
  ChildEnd end;
  QProcess p;
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  end.started = p.waitForStarted();
  if (!end.started) return end;
  if (!p.waitForFinished(timeout_ms)) {
    p.kill();
    p.waitForFinished();
    end.output = QString::fromUtf8(p.readAll());
    return end;
  }
  end.output = QString::fromUtf8(p.readAll());
  // QProcess reports a signal as a crash with the signal number as exit code.
  if (p.exitStatus() == QProcess::CrashExit)
    end.killed = p.exitCode() == SIGKILL;
  else
    end.exit_code = p.exitCode();
  return end;
}

QString sibling_program(const QString& name) {
  return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

}  // namespace test
