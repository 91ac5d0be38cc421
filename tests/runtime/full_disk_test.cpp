// Every whole-file writer of the programs on a full disk (libfull_disk.so loaded into a child
// that runs the writer): a write that does not fit fails, says so, and leaves the folder as it
// was, the old file byte for byte and no temporary file, as does a writer killed halfway; with
// room enough it succeeds.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <utility>

#include "runtime/errno_text.h"
#include "tests/support/child_process.h"
#include "tests/support/full_disk_env.h"
#include "tests/support/temp_program_folder.h"

namespace {

QByteArray pattern(qsizetype size, int seed) {
  QByteArray bytes(size, '\0');
  for (qsizetype i = 0; i < size; ++i) bytes[i] = char((i * 31 + seed) % 251);
  return bytes;
}

QByteArray lines(int count) {
  QByteArray out;
  for (int i = 0; i < count; ++i) out += "row " + QByteArray::number(i) + '\n';
  return out;
}

struct Writer {
  const char* what;
  const char* target;         // in the full folder, there before with `old`
  QByteArray source;          // src/source, when the writer reads one
  QStringList args;           // "$source" and "$target" stand for the paths
  QByteArray written;         // the target after a write that fits
  bool gives_reason = false;  // wren's writers say why
};

const QByteArray kOldIni = "[database]\r\nserver=(embedded)\r\ndatabase_name=velmo40\r\n";

const Writer kWriters[] = {
    // Templates are megabytes: a failure at the very end is the tail that a buffer holds.
    {"template copy",
     "velmo41.mdf",
     pattern(3 << 20, 1),
     {"copy", "$source", "$target"},
     pattern(3 << 20, 1)},
    {"settings",
     "user.ini",
     {},
     {"settings", "$target", "database", "server", "SALON\\SQL"},
     "[database]\r\nserver=SALON\\SQL\r\ndatabase_name=velmo40\r\n"},
    {"export", "tab_back_1.txt", lines(300), {"saveas", "$source", "$target"}, lines(300)},
    {"snapshot",
     "000.bmp",
     pattern(921654, 2),
     {"snapshot", "$source", "$target"},
     pattern(921654, 2),
     true},
    {"capture copy",
     "myvideo.avi",
     pattern(1 << 20, 3),
     {"wren-copy", "$source", "$target"},
     pattern(1 << 20, 3),
     true},
};

TEST(FullDisk, EveryWriterFailsVisiblyAndKeepsTheOldFile) {
  const QString child = test::sibling_program(QStringLiteral("write_child"));
  for (const Writer& w : kWriters) {
    // No room at all, the last three bytes missing, room for exactly the new file; and the
    // process killed halfway through the new file.
    const qint64 size = w.written.size();
    for (const auto& [free, killed] : {std::pair{qint64(0), false}, std::pair{size - 3, false},
                                       std::pair{size, false}, std::pair{size / 2, true}}) {
      SCOPED_TRACE(std::string(w.what) + ", free " + std::to_string(free) +
                   (killed ? ", killed" : ""));
      test::TempProgramFolder folder;
      const QString disk = folder.file(QStringLiteral("disk"));
      ASSERT_TRUE(QDir().mkpath(disk));
      const QString target = disk + QLatin1Char('/') + QString::fromUtf8(w.target);
      const QByteArray old = w.args[0] == "settings" ? kOldIni : pattern(5000, 9);
      folder.write(QStringLiteral("disk/") + QString::fromUtf8(w.target), old);
      ::chmod(QFile::encodeName(target).constData(), 0640);
      folder.write(QStringLiteral("source"), w.source.isEmpty() ? QByteArray() : w.source);
      QStringList args = w.args;
      args.replaceInStrings(QStringLiteral("$source"), folder.file(QStringLiteral("source")));
      args.replaceInStrings(QStringLiteral("$target"), target);

      QProcessEnvironment env = test::full_disk(disk, free);
      if (killed) env.insert(QStringLiteral("FULL_DISK_KILL"), QStringLiteral("1"));
      const test::ChildEnd end = test::run_child(child, args, 60000, env);
      ASSERT_TRUE(end.started);
      const bool fits = free >= size;
      EXPECT_EQ(end.killed, killed);
      if (!killed) {
        EXPECT_EQ(end.exit_code, fits ? 0 : 1) << end.output.toStdString();
      }
      EXPECT_EQ(QDir(disk).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                QStringList{QString::fromUtf8(w.target)})
          << "no temporary file left";
      EXPECT_TRUE(folder.read(QStringLiteral("disk/") + QString::fromUtf8(w.target)) ==
                  (fits ? w.written : old))
          << "the file is whole: the new one or the old one";
      EXPECT_EQ(QFile::permissions(target), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadUser | QFileDevice::WriteUser |
                                                QFileDevice::ReadGroup);
      if (w.gives_reason && !fits && !killed) {
        EXPECT_TRUE(end.output.contains(rt::errno_text(ENOSPC))) << end.output.toStdString();
      }
    }
  }
}

// A write that returns 0 sets no errno: the reason is ours, not whatever errno held before.
TEST(FullDisk, AWriteOfNothingIsAFailureWithItsOwnReason) {
  test::TempProgramFolder folder;
  folder.write(QStringLiteral("picture"), pattern(4000, 4));
  QProcessEnvironment env = test::full_disk(folder.path(), 1000);
  env.insert(QStringLiteral("FULL_DISK_ZERO"), QStringLiteral("1"));
  const test::ChildEnd end = test::run_child(
      test::sibling_program(QStringLiteral("write_child")),
      {"snapshot", folder.file(QStringLiteral("picture")), folder.file(QStringLiteral("000.bmp"))},
      60000, env);
  EXPECT_EQ(end.exit_code, 1);
  EXPECT_EQ(end.output.trimmed(), QStringLiteral("failed 系统没有写入任何数据"));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"picture"});
}

}  // namespace
