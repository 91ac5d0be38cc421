#include "kestrel/program_end.h"

#include <QCoreApplication>
#include <QProcess>

#include "runtime/dialogs.h"

namespace kestrel {

void end_program() { QCoreApplication::exit(0); }

void restart_program() {
  if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), {},
                               QCoreApplication::applicationDirPath()))
    // What was repaired is stored; only the new start is missing, and the user can make it.
    rt::dialogs().failure(QStringLiteral("错误信息"),
                          QStringLiteral("系统数据已修复,程序重新启动失败,请重新运行本程序!"));
  end_program();
}

}  // namespace kestrel
