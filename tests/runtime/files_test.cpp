#include "runtime/files.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>

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

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramWithSlash) {
  const QString f = rt::program_folder();
  EXPECT_TRUE(f.endsWith('/'));
  EXPECT_TRUE(QFileInfo(f).isDir());
  EXPECT_TRUE(QFile::exists(f + QCoreApplication::applicationName()) ||
              QFile::exists(f + "runtime_tests"));
}

}  // namespace
