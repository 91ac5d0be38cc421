// kestrel and plover, run as programs, read user.ini when their window opens: whatever stands
// at its path (a FIFO nobody writes, a link to an endless device, a folder) reads as no file,
// and the window shows at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <functional>

#include "tests/support/driven_program.h"
#include "tests/support/temp_program_folder.h"

namespace {

struct Kind {
  const char* what;
  std::function<bool(const QString&)> make;
};

const Kind kKinds[] = {
    {"FIFO",
     [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0644) == 0; }},
    {"link to /dev/zero", [](const QString& p) { return QFile::link("/dev/zero", p); }},
    {"folder", [](const QString& p) { return QDir().mkpath(p); }},
};

struct Program {
  const char* path;
  const char* title;
} const kPrograms[] = {
    {KESTREL_PROGRAM, "数据库管理16.2"},
    {PLOVER_PROGRAM, "数据库连接设置 V16.2"},
};

TEST(SettingsFileKinds, KestrelAndPloverShowTheirWindowsAtOnce) {
  for (const Program& program : kPrograms) {
    for (const Kind& kind : kKinds) {
      SCOPED_TRACE(std::string(program.path) + ", user.ini a " + kind.what);
      test::TempProgramFolder dir;
      const QString copy = test::copy_program(QString::fromUtf8(program.path), dir.path());
      ASSERT_FALSE(copy.isEmpty());
      ASSERT_TRUE(kind.make(dir.file("user.ini")));
      QElapsedTimer clock;
      clock.start();
      EXPECT_EQ(
          test::run_driven_program(copy, "window,close", dir.file("driver.log"), 30000),
          0);
      EXPECT_LT(clock.elapsed(), 20000);
      QString folder = dir.path();
      folder.chop(1);
      EXPECT_EQ(
          QString::fromUtf8(dir.read("driver.log")).split('\n', Qt::SkipEmptyParts),
          (QStringList{"start " + folder, "window " + QString::fromUtf8(program.title), "end"}));
    }
  }
}

}  // namespace
