#include "db/scoped_odbc_profile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QCoreApplication>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "runtime/whole_file.h"

namespace db {

namespace {
const char kVariable[] = "ODBCINI";
}

ScopedOdbcProfile::ScopedOdbcProfile(const QByteArray& text) {
  fd_ = memfd_create("odbc.ini", MFD_CLOEXEC);
  if (fd_ < 0) {
    error_ = QStringLiteral("the connection's ODBC profile could not be made: %1")
                 .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return;
  }
  if (rt::WholeFileSink sink(fd_); !sink.write(text)) {
    error_ =
        QStringLiteral("the connection's ODBC profile could not be written: %1").arg(sink.reason());
    return;
  }
  had_old_ = qEnvironmentVariableIsSet(kVariable);
  old_ = qgetenv(kVariable);
  qputenv(kVariable, "/proc/self/fd/" + QByteArray::number(fd_));
}

ScopedOdbcProfile::~ScopedOdbcProfile() {
  if (fd_ < 0) return;
  if (error_.isEmpty()) {
    if (had_old_)
      qputenv(kVariable, old_);
    else
      qunsetenv(kVariable);
  }
  close(fd_);
}

QString fresh_data_source_name() {
  static std::atomic<unsigned> count{0};
  return QStringLiteral("salon-%1-%2").arg(QCoreApplication::applicationPid()).arg(++count);
}

}  // namespace db
