#include "wren/get_ini_value.h"

#include <gtest/gtest.h>

#include <QDir>

#include "runtime/codepage.h"
#include "tests/support/temp_program_folder.h"
#include "wren/app_path.h"
#include "wren/picture_path.h"

namespace {

const char* const kDefault = "<default>";

struct IniCase {
  const char* name;
  QByteArray file;  // null: no user.ini at all
  QString value;    // what GetIniValue returns; kDefault for the default picture path
  QString picture;  // what the snapshot uses (backslashes as '/'); kDefault as above
};

std::vector<IniCase> cases() {
  const QString gbk_path = QStringLiteral("D:\\照片\\会员 001.bmp");
  return {
      {"no_file", QByteArray(), kDefault, kDefault},
      {"empty_file", "", kDefault, kDefault},
      {"plain", "[database]\r\nfile_name=D:\\a.bmp\r\n", "D:\\a.bmp", "D:/a.bmp"},
      {"no_section", "[other]\r\nfile_name=D:\\a.bmp\r\n", kDefault, kDefault},
      {"no_key", "[database]\r\nserver_name=s\r\nuser_name=u\r\n", kDefault, kDefault},
      {"empty_value", "[database]\r\nfile_name=\r\n", "", kDefault},
      {"blank_value", "[database]\r\nfile_name=   \r\n", "   ", kDefault},
      {"spaces", "[database]\r\n  file_name  =  D:\\a b.bmp  \r\n", "  D:\\a b.bmp  ",
       "D:/a b.bmp"},
      {"section_case", "[Database]\r\nfile_name=D:\\a.bmp\r\n", kDefault, kDefault},
      {"key_case", "[database]\r\nFile_Name=D:\\a.bmp\r\n", kDefault, kDefault},
      {"value_with_equals", "[database]\r\nfile_name=D:\\a=b.bmp\r\n", "D:\\a=b.bmp", "D:/a=b.bmp"},
      {"key_after_other_keys", "[database]\r\nserver_name=s\r\nfile_name=D:\\a.bmp\r\n",
       "D:\\a.bmp", "D:/a.bmp"},
      // A line without "=" joins the key of the line below it.
      {"blank_line_before_key", "[database]\r\n\r\nfile_name=D:\\a.bmp\r\n", kDefault, kDefault},
      {"comment_before_key", "[database]\r\n;photo\r\nfile_name=D:\\a.bmp\r\n", kDefault, kDefault},
      {"key_again_after_spoilt_one",
       "[database]\r\n\r\nfile_name=D:\\a.bmp\r\nfile_name=D:\\b.bmp\r\n", "D:\\b.bmp", "D:/b.bmp"},
      // Exactly two characters are skipped after the section's "]".
      {"blanks_after_bracket", "[database]  \r\nfile_name=D:\\a.bmp\r\n", kDefault, kDefault},
      {"blanks_after_bracket_lf", "[database]  \nfile_name=D:\\a.bmp\n", kDefault, kDefault},
      {"one_blank_after_bracket_lf", "[database] \nfile_name=D:\\a.bmp\n", "D:\\a.bmp", "D:/a.bmp"},
      // The search runs on past the section.
      {"key_in_later_section",
       "[database]\r\nserver_name=s\r\n[photo]\r\nsize=1\r\nfile_name=D:\\p.bmp\r\n", "D:\\p.bmp",
       "D:/p.bmp"},
      {"key_right_after_later_section",
       "[database]\r\nserver_name=s\r\n[photo]\r\nfile_name=D:\\p.bmp\r\n", kDefault, kDefault},
      {"section_later_in_file",
       "[connect]\r\nfile_name=D:\\wrong.bmp\r\n[database]\r\nfile_name=D:\\a.bmp\r\n", "D:\\a.bmp",
       "D:/a.bmp"},
      {"last_line_without_end", "[database]\r\nfile_name=D:\\a.bmp", "D:\\a.bmp", "D:/a.bmp"},
      {"equals_at_end_of_file", "[database]\r\nfile_name=", kDefault, kDefault},
      {"key_without_equals_at_end", "[database]\r\nfile_name", kDefault, kDefault},
      {"cp936_path", "[database]\r\nfile_name=" + rt::to_cp936(gbk_path) + "\r\n", gbk_path,
       QStringLiteral("D:/照片/会员 001.bmp")},
      {"lf_only", "[database]\nfile_name=D:\\a.bmp\n", "D:\\a.bmp", "D:/a.bmp"},
      {"lf_only_after_other_keys", "[database]\nserver_name=s\nuser_name=u\nfile_name=D:\\a.bmp\n",
       "D:\\a.bmp", "D:/a.bmp"},
      {"cr_lf_value_keeps_no_cr", "[database]\r\nfile_name=D:\\a.bmp\r\nnext=1\r\n", "D:\\a.bmp",
       "D:/a.bmp"},
      // The runtime's settings reader decodes the file: a byte-order mark names UTF-8.
      {"utf8_bom", "\xEF\xBB\xBF[database]\r\nfile_name=D:\\a.bmp\r\n", "D:\\a.bmp", "D:/a.bmp"},
      {"utf8_bom_chinese_path", "\xEF\xBB\xBF[database]\r\nfile_name=" + gbk_path.toUtf8() + "\r\n",
       gbk_path, QStringLiteral("D:/照片/会员 001.bmp")},
      {"utf8_bom_last_line_without_end", "\xEF\xBB\xBF[database]\r\nfile_name=D:\\a.bmp",
       "D:\\a.bmp", "D:/a.bmp"},
      // A CR alone ends a line, as it does for the runtime's reader.
      {"cr_only", "[database]\rfile_name=D:\\a.bmp\r", "D:\\a.bmp", "D:/a.bmp"},
      {"cr_only_after_other_keys", "[database]\rserver_name=s\ruser_name=u\rfile_name=D:\\a.bmp\r",
       "D:\\a.bmp", "D:/a.bmp"},
      {"cr_only_blank_line_before_key", "[database]\r\rfile_name=D:\\a.bmp\r", kDefault, kDefault},
      {"cr_only_value_keeps_no_cr", "[database]\rfile_name=D:\\a.bmp\rnext=1\r", "D:\\a.bmp",
       "D:/a.bmp"},
  };
}

void PrintTo(const IniCase& c, std::ostream* os) { *os << c.name; }

class GetIniValueCase : public ::testing::TestWithParam<IniCase> {};

TEST_P(GetIniValueCase, ReadsLikeTheSettingsReader) {
  test::TempProgramFolder folder;
  wren::set_app_path(folder.path());
  const IniCase& c = GetParam();
  if (!c.file.isNull()) folder.write(QStringLiteral("user.ini"), c.file);
  const QString fallback = folder.path() + QStringLiteral("000.bmp");
  auto expected = [&](const QString& v) { return v == QLatin1String(kDefault) ? fallback : v; };

  EXPECT_EQ(wren::GetIniValue(folder.file(QStringLiteral("user.ini")), QStringLiteral("database"),
                              QStringLiteral("file_name")),
            expected(c.value));
  EXPECT_EQ(wren::picture_path(), expected(c.picture));
}

INSTANTIATE_TEST_SUITE_P(Table, GetIniValueCase, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GetIniValue, FolderWhereTheFileShouldBeGivesTheDefault) {
  test::TempProgramFolder folder;
  wren::set_app_path(folder.path());
  QDir().mkpath(folder.file(QStringLiteral("user.ini")));
  EXPECT_EQ(wren::picture_path(), folder.path() + QStringLiteral("000.bmp"));
}

TEST(GetIniValue, KeyArgumentIsTrimmedOfSpaces) {
  test::TempProgramFolder folder;
  wren::set_app_path(folder.path());
  folder.write(QStringLiteral("user.ini"), "[database]\r\nfile_name=x\r\n");
  EXPECT_EQ(wren::GetIniValue(folder.file(QStringLiteral("user.ini")), QStringLiteral("database"),
                              QStringLiteral("  file_name ")),
            QStringLiteral("x"));
}

}  // namespace
