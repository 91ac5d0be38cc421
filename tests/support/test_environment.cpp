#include "tests/support/test_environment.h"

#include <sys/stat.h>

#include <QByteArray>
#include <QtGlobal>

namespace test {

void prepare_test_environment() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QByteArray runtime_dir = "/tmp/salon-tests-runtime";
    mkdir(runtime_dir.constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", runtime_dir);
  }
}

}  // namespace test
