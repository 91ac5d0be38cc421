#include "runtime/regular_file.h"

#include <gtest/gtest.h>

#include "runtime/settings_file.h"
#include "tests/support/fs_faults.h"
#include "tests/support/temp_program_folder.h"

namespace {

// A file that grows between the reader's look at its path and its open is judged by what it
// holds when it is read: past the bound it is refused like any larger file, however large it
// claims to be, and the reader holds no more than the bound meanwhile.
TEST(RegularFileRead, AFileGrownAfterItsLookIsJudgedAsOpen) {
  const qint64 limit = 1000;
  const struct Case {
    off_t grown_to;
    rt::RegularFile::Kind kind;
  } cases[] = {
      {limit, rt::RegularFile::file},
      {limit + 1, rt::RegularFile::other},
      {off_t(64) << 30, rt::RegularFile::other},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.grown_to);
    test::TempProgramFolder dir;
    dir.write("f", "small");
    test::GrowAfterStat grow(dir.file("f"), c.grown_to);
    const rt::RegularFile found = rt::read_regular_file(dir.file("f"), limit);
    ASSERT_TRUE(grow.grown());
    EXPECT_EQ(found.kind, c.kind);
    EXPECT_EQ(found.data,
              c.kind == rt::RegularFile::file ? "small" + QByteArray(limit - 5, 0) : QByteArray());
  }
}

// Through the settings reader of every program: a user.ini that grows to 64 GiB while it is
// read is a missing file, its defaults read and no save goes into it.
TEST(RegularFileRead, ASettingsFileGrownHugeReadsAsMissing) {
  test::TempProgramFolder dir;
  const QString ini = dir.file("user.ini");
  dir.write("user.ini", "[database]\r\nserver_name=s\r\n");
  {
    test::GrowAfterStat grow(ini, off_t(64) << 30);
    EXPECT_EQ(rt::profile_string(ini, "database", "server_name", "def"), "def");
    ASSERT_TRUE(grow.grown());
  }
  QString text;
  EXPECT_FALSE(rt::read_settings_text(ini, &text));
  EXPECT_EQ(rt::set_profile_string(ini, "database", "server_name", "new"), -1);
  EXPECT_EQ(QFileInfo(ini).size(), qint64(64) << 30);
}

}  // namespace
