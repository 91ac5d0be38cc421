// user.ini in UTF-16 with a byte-order mark, as Windows tools write it: plover and kestrel read
// the same values (wren's file_name goes through the same reader), and plover's save keeps the
// file UTF-16 in its byte order and line ends. A file that does not decode is not saved into.
#include <gtest/gtest.h>

#include "kestrel/w_main.h"
#include "plover/w_main.h"
#include "runtime/codepage.h"
#include "runtime/settings_file.h"
#include "shared/globals.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"
#include "tests/support/utf16_text.h"

namespace {

class Utf16Settings : public ::testing::TestWithParam<bool> {};

TEST_P(Utf16Settings, ReadByEveryProgramAndWrittenBackAsUtf16) {
  const bool be = GetParam();
  test::TempProgramFolder dir;
  test::ScriptedDialogs dialogs;
  const QString before = QStringLiteral(
      "[database]\r\nserver_name=(embedded)\r\ndatabase_name=美发店\r\nuser_name=sa\r\n"
      "user_password=pw\r\ndatabase_type=2\r\nconnect=2\r\nfile_name=照片\\一.bmp\r\n");
  dir.write("user.ini", test::utf16_file(before, be));

  plover::w_main p;
  p.open();
  kestrel::w_main k;
  k.open();
  for (const auto& [pl, ke] : {std::pair{p.sle_server_name, k.sle_server_name},
                               std::pair{p.sle_database_name, k.sle_database_name},
                               std::pair{p.sle_user_name, k.sle_user_name},
                               std::pair{p.sle_user_password, k.sle_user_password}})
    EXPECT_EQ(pl->text(), ke->text());
  EXPECT_EQ(p.sle_database_name->text(), QStringLiteral("美发店"));
  EXPECT_EQ(p.sle_database_name2->text(), QStringLiteral("美发店"));
  EXPECT_TRUE(p.rb_2->isChecked());
  EXPECT_TRUE(k.rb_2->isChecked()) << "kestrel takes the SQL Server kind";
  EXPECT_TRUE(p.cbx_1->isChecked());
  EXPECT_EQ(rt::profile_string(gs_inifile, "database", "file_name", ""),
            QStringLiteral("照片\\一.bmp"));

  // A user name that code page 936 could not hold is fine in UTF-16.
  p.sle_user_name->setText(QStringLiteral("김민준😀"));
  p.sle_server_name2->setText(QStringLiteral("总店"));
  dialogs.answer(true);
  p.cb_save_clicked();
  EXPECT_EQ(dialogs.lines(), std::vector<QString>{"操作提示|真的要保存刚才的修改吗?"});
  QString after = before;
  after.replace("user_name=sa", QStringLiteral("user_name=김민준😀"));
  after += QStringLiteral(
      "server_name2=总店\r\ndatabase_name2=美发店\r\nuser_name2=sa\r\nuser_password2=pw\r\n");
  EXPECT_EQ(dir.read("user.ini"), test::utf16_file(after, be));

  kestrel::w_main again;
  again.open();
  EXPECT_EQ(again.sle_user_name->text(), QStringLiteral("김민준😀"));
  EXPECT_EQ(again.sle_server_name2->text(), QStringLiteral("总店"));
  EXPECT_TRUE(again.rb_2->isChecked());
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, Utf16Settings, ::testing::Bool(), [](const auto& info) {
  return info.param ? "BigEndian" : "LittleEndian";
});

// A file holding bytes that do not decode, in a key the user leaves alone: the save writes
// every key, that one too, so it is refused whole and the file stays byte for byte, whatever
// the file's encoding.
TEST(UndecodableSettings, SaveIsRefusedAndTheFileStays) {
  const QByteArray keys = "server_name=old\r\ndatabase_name=";
  QByteArray unpaired = test::utf16_file(QString::fromLatin1("[database]\r\n" + keys), false);
  unpaired += QByteArray("\x00\xD8", 2) + test::utf16_file("\r\n", false).mid(2);
  const std::pair<const char*, QByteArray> files[] = {
      {"UTF-8 holding code page 936 bytes",
       "\xEF\xBB\xBF[database]\r\n" + keys + rt::to_cp936(QStringLiteral("美发店")) + "\r\n"},
      {"code page 936 with a broken character", "[database]\r\n" + keys + "\xC3(\r\n"},
      {"UTF-16 with an unpaired surrogate", unpaired},
  };
  for (const auto& [what, file] : files) {
    test::TempProgramFolder dir;
    test::ScriptedDialogs dialogs;
    dir.write("user.ini", file);
    plover::w_main p;
    p.open();
    p.sle_server_name->setText(QStringLiteral("新服务器"));
    dialogs.answer(true);
    p.cb_save_clicked();
    EXPECT_EQ(dialogs.lines(),
              (std::vector<QString>{"操作提示|真的要保存刚才的修改吗?", "错误信息|保存设置失败!"}))
        << what;
    EXPECT_EQ(dir.read("user.ini"), file) << what;
  }
}

}  // namespace
