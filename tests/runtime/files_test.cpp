#include "runtime/files.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "runtime/set_aside.h"
#include "tests/support/temp_program_folder.h"

namespace {

TEST(CopyFile, OverwritesAndRefusesWhatWindowsRefuses) {
  test::TempProgramFolder dir;
  dir.write("a", "new contents");
  dir.write("b", "old");
  EXPECT_TRUE(rt::copy_file(dir.file("a"), dir.file("b")));
  EXPECT_EQ(dir.read("b"), "new contents");

  EXPECT_FALSE(rt::copy_file(dir.file("missing"), dir.file("c")));
  EXPECT_FALSE(QFile::exists(dir.file("c")));

  EXPECT_FALSE(rt::copy_file(dir.file("a"), dir.file("a")));  // same file: left intact
  EXPECT_FALSE(rt::copy_file(dir.file("a"), dir.file("./a")));
  EXPECT_EQ(dir.read("a"), "new contents");

  EXPECT_FALSE(rt::copy_file(dir.file("a"), dir.file("nofolder/b")));
  rt::set_file_attributes(dir.file("b"), 1);
  EXPECT_FALSE(rt::copy_file(dir.file("a"), dir.file("b")));  // read-only target
}

TEST(DeleteFile, ReadOnlyNeedsItsAttributesClearedFirst) {
  test::TempProgramFolder dir;
  dir.write("f", "x");
  rt::set_file_attributes(dir.file("f"), 1);
  EXPECT_TRUE(rt::is_read_only(dir.file("f")));
  EXPECT_FALSE(rt::delete_file(dir.file("f")));
  EXPECT_NE(rt::set_file_attributes(dir.file("f"), 0), 0u);
  EXPECT_TRUE(rt::delete_file(dir.file("f")));
  EXPECT_FALSE(rt::file_exists(dir.file("f")));
  EXPECT_FALSE(rt::delete_file(dir.file("f")));
  EXPECT_EQ(rt::set_file_attributes(dir.file("f"), 0), 0u);

  dir.write("g", "x");
  rt::set_file_attributes(dir.file("g"), 1);
  EXPECT_TRUE(rt::remove_file(dir.file("g")));  // read-only scratch file
  EXPECT_FALSE(rt::file_exists(dir.file("g")));
  EXPECT_TRUE(rt::remove_file(dir.file("g")));  // nothing left: done
}

TEST(SameContents, ComparesEveryByte) {
  test::TempProgramFolder dir;
  dir.write("a", QByteArray(200000, 'x') + "1");
  dir.write("b", QByteArray(200000, 'x') + "1");
  dir.write("c", QByteArray(200000, 'x') + "2");
  dir.write("d", QByteArray(200000, 'x'));
  EXPECT_TRUE(rt::same_contents(dir.file("a"), dir.file("b")));
  EXPECT_FALSE(rt::same_contents(dir.file("a"), dir.file("c")));
  EXPECT_FALSE(rt::same_contents(dir.file("a"), dir.file("d")));
  EXPECT_FALSE(rt::same_contents(dir.file("a"), dir.file("missing")));
  EXPECT_FALSE(rt::same_contents(dir.file("a"), dir.path()));
}

class SetAside : public ::testing::Test {
 protected:
  QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }
  const QDateTime when{QDate(2024, 3, 5), QTime(10, 15, 30)};
  test::TempProgramFolder dir;
};

// One suffix for the whole group; a companion keeps its tail after its file's new name.
TEST_F(SetAside, RenamesTheGroupUnderOneDatedName) {
  dir.write("d.mdf", "data");
  dir.write("d.mdf-journal", "journal");
  dir.write("d.ldf", "log");
  const QString suffix =
      rt::set_aside({{dir.file("d.mdf"), {dir.file("d.mdf-journal"), dir.file("d.mdf-wal")}},
                     {dir.file("d.ldf"), {}}},
                    "damaged", when);
  EXPECT_EQ(suffix, ".damaged-20240305-101530");
  EXPECT_EQ(files(), (QStringList{"d.ldf.damaged-20240305-101530", "d.mdf.damaged-20240305-101530",
                                  "d.mdf.damaged-20240305-101530-journal"}));
  EXPECT_EQ(dir.read("d.mdf.damaged-20240305-101530"), "data");
  EXPECT_EQ(dir.read("d.mdf.damaged-20240305-101530-journal"), "journal");
  EXPECT_EQ(dir.read("d.ldf.damaged-20240305-101530"), "log");
}

// Twice in the same second, or a name taken by anything (a dangling link too): the next number,
// never over what is there.
TEST_F(SetAside, ATakenNameIsNeverOverwritten) {
  dir.write("s.mdf", "first");
  EXPECT_EQ(rt::set_aside({{dir.file("s.mdf"), {}}}, "replaced", when),
            ".replaced-20240305-101530");
  dir.write("s.mdf", "second");
  dir.write("s.ldf.replaced-20240305-101530-2", "taken");
  dir.write("s.ldf", "log");
  EXPECT_EQ(rt::set_aside({{dir.file("s.mdf"), {}}, {dir.file("s.ldf"), {}}}, "replaced", when),
            ".replaced-20240305-101530-3");
  ASSERT_TRUE(QFile::link(dir.file("nowhere"), dir.file("s.mdf.replaced-20240305-101530-2")));
  dir.write("s.mdf", "third");
  EXPECT_EQ(rt::set_aside({{dir.file("s.mdf"), {}}}, "replaced", when),
            ".replaced-20240305-101530-4");
  EXPECT_EQ(dir.read("s.mdf.replaced-20240305-101530"), "first");
  EXPECT_EQ(dir.read("s.mdf.replaced-20240305-101530-3"), "second");
  EXPECT_EQ(dir.read("s.ldf.replaced-20240305-101530-3"), "log");
  EXPECT_EQ(dir.read("s.ldf.replaced-20240305-101530-2"), "taken");
  EXPECT_EQ(dir.read("s.mdf.replaced-20240305-101530-4"), "third");
  EXPECT_FALSE(QFile::exists(dir.file("s.mdf")));
}

// All or none: a rename that fails (here a name too long for the file system once the suffix
// is added) undoes the ones before it.
TEST_F(SetAside, AFailedRenameUndoesTheOthers) {
  const QString longest = QString(240, 'n');
  dir.write("a", "a");
  dir.write(longest, "b");
  EXPECT_EQ(rt::set_aside({{dir.file("a"), {}}, {dir.file(longest), {}}}, "replaced", when), "");
  EXPECT_EQ(files(), (QStringList{"a", longest}));
  EXPECT_EQ(dir.read("a"), "a");
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramWithSlash) {
  const QString f = rt::program_folder();
  EXPECT_TRUE(f.endsWith('/'));
  EXPECT_TRUE(QFileInfo(f).isDir());
  EXPECT_TRUE(QFile::exists(f + QCoreApplication::applicationName()) ||
              QFile::exists(f + "runtime_tests"));
}

}  // namespace
