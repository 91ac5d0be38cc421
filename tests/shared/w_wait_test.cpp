#include "shared/w_wait.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWindow>

#include "shared/globals.h"
#include "shared/w_wait_text.h"
#include "tests/support/temp_program_folder.h"

namespace {

TEST(WWaitMessage, KeywordsInAnyCaseOtherTextsKeptAsPassed) {
  const std::pair<const char*, const char*> cases[] = {
      {"connect", "正在连接数据库,请稍候……"}, {"CONNECT", "正在连接数据库,请稍候……"},
      {"Connect", "正在连接数据库,请稍候……"}, {"LoadData", "正在载入数据,请稍候……"},
      {"数据处理中", "数据处理中,请稍候……"},  {"", ",请稍候……"},
      {"ABC Data", "ABC Data,请稍候……"},      {" connect", " connect,请稍候……"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(w_wait_message(in), out) << in;
}

TEST(WWait, OpensWithoutAPictureFileAndShowsItsText) {
  test::TempProgramFolder tmp;
  w_wait w;
  EXPECT_EQ(w.st_1->text(), "请稍候……");
  w.open("数据处理中");
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.st_1->text(), "数据处理中,请稍候……");
  EXPECT_EQ(w.size(), QSize(314, 200));
  EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
  // Not empty, or the window system would show the program's internal name.
  EXPECT_FALSE(w.windowHandle()->title().isEmpty());
  EXPECT_EQ(w.windowHandle()->title().trimmed(), "");
  EXPECT_EQ(w.p_1->pixmap().size(), QSize(314, 198));
  EXPECT_EQ(w.st_1->geometry(), QRect(31, 92, 251, 18));
}

TEST(WWait, ShowsTheProgramFolderPictureAtItsOwnSize) {
  test::TempProgramFolder tmp;
  QImage picture(200, 100, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(tmp.file("wait.jpg"), "JPG"));
  w_wait w;
  w.open("connect");
  EXPECT_EQ(w.p_1->pixmap().size(), QSize(200, 100));
  EXPECT_EQ(w.p_1->size(), QSize(200, 100));
  EXPECT_EQ(w.st_1->text(), "正在连接数据库,请稍候……");
}

}  // namespace
