#include "shared/f_copy_file.h"

#include <gtest/gtest.h>

#include "db/backend.h"
#include "shared/u_enpt.h"
#include "tests/support/temp_program_folder.h"

namespace {

TEST(FCopyFile, ZeroOnSuccessMinusOneOtherwise) {
  test::TempProgramFolder dir;
  dir.write("base.mdf", "template");
  dir.write("velmo41.mdf", "old");
  EXPECT_EQ(f_copy_file(dir.file("base.mdf"), dir.file("velmo41.mdf")), 0);
  EXPECT_EQ(dir.read("velmo41.mdf"), "template");
  EXPECT_EQ(f_copy_file(dir.file("missing.mdf"), dir.file("x.mdf")), -1);
  EXPECT_FALSE(QFile::exists(dir.file("x.mdf")));
  // Onto itself: refused, and the file keeps its contents.
  EXPECT_EQ(f_copy_file(dir.file("base.mdf"), dir.file("base.mdf")), -1);
  EXPECT_EQ(dir.read("base.mdf"), "template");
}

TEST(FCopyFile, RefusesAFileTheServerHolds) {
  test::TempProgramFolder dir;
  dir.write("base.mdf", "template");
  dir.write("held.mdf", "live data");
  db::set_held_file_check([](const QString& p) { return p.endsWith("held.mdf"); });
  EXPECT_EQ(f_copy_file(dir.file("base.mdf"), dir.file("held.mdf")), -1);
  EXPECT_EQ(dir.read("held.mdf"), "live data");
  db::set_held_file_check(nullptr);
}

TEST(UEnpt, PassesEveryTextThrough) {
  u_enpt e;
  for (const QString& s :
       {QString(), QString(""), QStringLiteral("kpz531274"), QStringLiteral(" 密码 ")}) {
    EXPECT_EQ(e.f_enpt(s), s);
    EXPECT_EQ(e.f_out(e.f_enpt(s)), s);
    EXPECT_EQ(e.f_out(s).isNull(), s.isNull());
  }
}

}  // namespace
