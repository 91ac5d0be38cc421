#include "tests/support/full_disk_env.h"

#include <QFileInfo>

namespace test {

QProcessEnvironment full_disk(const QString& folder, qint64 free, QProcessEnvironment env) {
  const QString preload = env.value(QStringLiteral("LD_PRELOAD"));
  env.insert(QStringLiteral("LD_PRELOAD"),
             preload.isEmpty() ? QStringLiteral(SALON_FULL_DISK)
                               : preload + QLatin1Char(' ') + QStringLiteral(SALON_FULL_DISK));
  env.insert(QStringLiteral("FULL_DISK_FOLDER"), QFileInfo(folder).canonicalFilePath());
  env.insert(QStringLiteral("FULL_DISK_FREE"), QString::number(free));
  // A sanitized build wants its runtime first among the libraries; the shim comes first.
  env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                 QStringLiteral(":verify_asan_link_order=0"));
  return env;
}

}  // namespace test
