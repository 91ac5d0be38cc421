// The programs' start-up, run here as a program runs it, with Qt's own options on its command
// line; then the message boxes as the programs show them.
#include "runtime/program_start.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>

#include "tests/support/test_environment.h"

namespace {

TEST(ProgramStart, QtOptionsOnTheCommandLineChangeNothing) {
  EXPECT_EQ(QCoreApplication::arguments().size(), 1);
  EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight) << "-reverse";
  EXPECT_EQ(QGuiApplication::platformName(), qEnvironmentVariable("QT_QPA_PLATFORM"))
      << "-platform minimal";
  EXPECT_NE(QApplication::style()->name(), "windows") << "-style windows";
}

TEST(ProgramStart, StandardButtonsAndFontsAreChinese) {
  QMessageBox box(QMessageBox::Question, "", "",
                  QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "确定");
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "取消");
  EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "是(&Y)");
  EXPECT_EQ(box.button(QMessageBox::No)->text(), "否(&N)");
  const QFontInfo font(box.font());
  EXPECT_EQ(font.family(), "AR PL UMing CN");
  EXPECT_EQ(font.pixelSize(), 12);
}

// Greyed text in Windows' grey for it, readable on the face colour; enabled text unchanged.
TEST(ProgramStart, GreyedTextIsTheSystemsGreyForIt) {
  const QPalette pal = QApplication::palette();
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    EXPECT_EQ(pal.color(QPalette::Disabled, role), QColor(109, 109, 109)) << role;
    EXPECT_NE(pal.color(QPalette::Active, role), QColor(109, 109, 109)) << role;
  }
}

// A platform theme gives some classes of widgets palettes of their own (labels, check boxes,
// menus ...), at start and whenever the theme changes: they carry the grey as well.
TEST(ProgramStart, GreyedTextHoldsInThePalettesOfThePlatformTheme) {
  QPalette theme = QApplication::palette();
  theme.setColor(QPalette::Disabled, QPalette::WindowText, QColor(190, 190, 190));
  QApplication::setPalette(theme, "QLabel");
  EXPECT_EQ(QApplication::palette("QLabel").color(QPalette::Disabled, QPalette::WindowText),
            QColor(109, 109, 109));
  QLabel label;
  label.setEnabled(false);
  EXPECT_EQ(label.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(109, 109, 109));
}

// Text drawn from the face's bitmaps is opaque, so the placeholder is the grey it would blend to.
TEST(ProgramStart, PlaceholderTextIsAnOpaqueGrey) {
  const QColor c = QApplication::palette().color(QPalette::Active, QPalette::PlaceholderText);
  EXPECT_EQ(c.alpha(), 255);
  EXPECT_EQ(c.red(), c.blue());
  EXPECT_GT(c.red(), 80);
  EXPECT_LT(c.red(), 200);
}

TEST(ProgramStart, WithoutTheTranslationTheProgramsStillStart) {
  QTemporaryDir empty;
  EXPECT_FALSE(rt::use_chinese_ui(empty.path()));
  EXPECT_EQ(QFontInfo(QApplication::font()).family(), "AR PL UMing CN");
}

}  // namespace

int main(int argc, char** argv) {
  test::prepare_test_environment();
  char reverse[] = "-reverse", platform[] = "-platform", minimal[] = "minimal", style[] = "-style",
       windows[] = "windows";
  char* program_argv[] = {argv[0], reverse, platform, minimal, style, windows, nullptr};
  rt::Program app(6, program_argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
