// One main for every test executable: a QApplication on the offscreen platform, then the tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QByteArray runtime_dir = "/tmp/salon-tests-runtime";
    mkdir(runtime_dir.constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", runtime_dir);
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
