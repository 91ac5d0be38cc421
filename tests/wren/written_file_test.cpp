#include "wren/written_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>

#include "runtime/errno_text.h"
#include "tests/support/temp_program_folder.h"

namespace {

QStringList entries(const test::TempProgramFolder& folder) {
  return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Any name the file system takes, up to its 255 bytes, can be written: the temporary file's
// name is not made from it.
TEST(WrittenFile, TheLongestNamesAreWritten) {
  const QString names[] = {
      QString(251, QLatin1Char('a')) + QStringLiteral(".bmp"),  // 255 bytes
      QString(83, QChar(0x7167)) + QStringLiteral(".bmp"),      // 253 bytes (照)
      QString(252, QLatin1Char('b')) + QStringLiteral(".bmp"),  // 256: one too many
  };
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    test::TempProgramFolder folder;
    const bool fits = QFile::encodeName(name).size() <= 255;
    QString why;
    EXPECT_EQ(wren::replace_file(folder.file(name), "picture", &why), fits) << why.toStdString();
    EXPECT_EQ(entries(folder), fits ? QStringList{name} : QStringList{});
    if (fits) {
      EXPECT_EQ(folder.read(name), QByteArray("picture"));
      EXPECT_TRUE(wren::replace_file(folder.file(name), "second", &why)) << why.toStdString();
      EXPECT_EQ(folder.read(name), QByteArray("second"));
    } else {
      EXPECT_FALSE(why.isEmpty());
    }
  }
}

// Files that happen to have the temporary file's name are not ours: they are left as they are
// and the next name is taken.
TEST(WrittenFile, TakenTemporaryNamesAreLeftAlone) {
  test::TempProgramFolder folder;
  const QString stem = QStringLiteral(".salon-%1-").arg(::getpid());
  folder.write(stem + QStringLiteral("0"), "someone's");
  folder.write(stem + QStringLiteral("1"), "someone else's");
  QString why;
  ASSERT_TRUE(wren::replace_file(folder.file(QStringLiteral("p.bmp")), "picture", &why))
      << why.toStdString();
  EXPECT_EQ(folder.read(QStringLiteral("p.bmp")), QByteArray("picture"));
  EXPECT_EQ(folder.read(stem + QStringLiteral("0")), QByteArray("someone's"));
  EXPECT_EQ(folder.read(stem + QStringLiteral("1")), QByteArray("someone else's"));
  EXPECT_EQ(entries(folder).size(), 3);
}

TEST(WrittenFile, CopyOverReplacesWholeOrNotAtAll) {
  test::TempProgramFolder folder;
  const QString from = folder.file(QStringLiteral("TEMP.AVI"));
  const QString to = folder.file(QString(251, QLatin1Char('v')) + QStringLiteral(".avi"));
  QByteArray video(300000, '\0');
  for (qsizetype i = 0; i < video.size(); ++i) video[i] = char(i * 7);
  folder.write(QStringLiteral("TEMP.AVI"), video);
  folder.write(QStringLiteral("kept.avi"), "kept");
  QString why;
  ASSERT_TRUE(wren::copy_over(from, to, &why)) << why.toStdString();
  EXPECT_EQ(folder.read(QFileInfo(to).fileName()), video);

  ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("kept.avi")),
                          folder.file(QStringLiteral("link.avi"))));
  // Each refusal with its true reason, in Chinese where it is ours.
  const struct {
    QString from, to, reason;
  } refused[] = {
      {from, from, "源文件和目标文件是同一个文件"},
      {from, folder.path() + "./TEMP.AVI", "源文件和目标文件是同一个文件"},  // by another name
      {from, folder.file("link.avi"), "该路径是一个符号链接"},
      {from, folder.file("no such folder/myvideo.avi"), "文件夹不存在"},
      {folder.file("missing.avi"), folder.file("kept.avi"), rt::errno_text(ENOENT)},
      {folder.path(), folder.file("kept.avi"), "源文件不是普通文件"},
  };
  for (const auto& r : refused) {
    EXPECT_FALSE(wren::copy_over(r.from, r.to, &why)) << r.to.toStdString();
    EXPECT_EQ(why, r.reason) << r.to.toStdString();
  }
  EXPECT_EQ(folder.read(QStringLiteral("TEMP.AVI")), video);
  EXPECT_EQ(folder.read(QStringLiteral("kept.avi")), QByteArray("kept"));
  EXPECT_EQ(entries(folder).size(), 4);  // no temporary file left behind
}

}  // namespace
