#include "tests/support/held_database.h"

namespace test {

HeldDatabase::HeldDatabase(const QString& path, const QStringList& sql) {
  child_.start(QStringLiteral(HOLD_DATABASE_PROGRAM), QStringList{path} + sql);
  QByteArray out;
  while (!out.contains("ready\n") && child_.waitForReadyRead(10000))
    out += child_.readAllStandardOutput();
  ready_ = out.contains("ready\n");
  if (!ready_) errors_ = QString::fromUtf8(child_.readAllStandardError());
}

HeldDatabase::~HeldDatabase() {
  if (child_.state() == QProcess::NotRunning) return;
  child_.closeWriteChannel();
  if (!child_.waitForFinished(10000)) kill();
}

void HeldDatabase::kill() {
  child_.kill();
  child_.waitForFinished();
}

}  // namespace test
