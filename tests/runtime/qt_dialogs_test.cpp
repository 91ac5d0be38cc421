// The boxes of the dialogs service as the programs show them: Chinese buttons that answer to
// their letters, titles as given, and pictures of a question and a notice for people to read.
#include "runtime/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "runtime/dialogs.h"
#include "tests/support/qt_print.h"
#include "tests/support/temp_program_folder.h"

namespace {

// What an open box showed, read before the answer closed it.
struct Seen {
  QString window_title;  // as handed to the window system
  QStringList buttons;
  QString default_button;
  QImage picture;
};

// Reads the modal box that `open` shows once it is active, then lets `answer` close it.
Seen with_box(const std::function<void()>& open, const std::function<void(QMessageBox*)>& answer) {
  Seen seen;
  QObject scope;  // a box that never opens leaves no timer behind to read this frame
  QTimer::singleShot(0, &scope, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      ADD_FAILURE() << "no message box";
      if (modal) modal->close();
      return;
    }
    EXPECT_TRUE(QTest::qWaitForWindowActive(box));
    seen.window_title = box->windowHandle()->title();
    for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
    seen.buttons.sort();
    if (box->defaultButton()) seen.default_button = box->defaultButton()->text();
    seen.picture = box->grab().toImage();
    answer(box);
    QTimer::singleShot(3000, box, [box] {
      ADD_FAILURE() << "the answer did not close the box";
      box->done(0);
    });
  });
  open();
  return seen;
}

void key(QMessageBox* box, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
  QTest::keyClick(box->windowHandle(), k, m);
}

TEST(QtDialogs, QuestionsShowChineseButtonsThatAnswerToTheirLetters) {
  struct Case {
    bool default_yes;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool answer;
  } const cases[] = {
      {true, Qt::Key_N, Qt::NoModifier, false},     {false, Qt::Key_Y, Qt::NoModifier, true},
      {true, Qt::Key_N, Qt::AltModifier, false},    {false, Qt::Key_Y, Qt::AltModifier, true},
      {true, Qt::Key_Return, Qt::NoModifier, true}, {false, Qt::Key_Return, Qt::NoModifier, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
    bool answer = !c.answer;
    const Seen seen = with_box(
        [&] {
          answer = rt::dialogs().question(QStringLiteral("操作提示"),
                                          QStringLiteral("真的要保存刚才的修改吗?"), c.default_yes);
        },
        [&](QMessageBox* box) { key(box, c.key, c.modifiers); });
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(seen.buttons, (QStringList{"否(&N)", "是(&Y)"}));
    EXPECT_EQ(seen.default_button, c.default_yes ? "是(&Y)" : "否(&N)");
    EXPECT_EQ(seen.window_title, "操作提示");
    if (c.default_yes && c.key == Qt::Key_Return)
      EXPECT_TRUE(seen.picture.save(test::screenshot_folder() + "question_box.png"));
  }
}

TEST(QtDialogs, NoticesAndFailuresHaveTheChineseOkButton) {
  const std::function<void()> boxes[] = {
      [] {
        rt::dialogs().notice(QStringLiteral("系统提示"),
                             QStringLiteral("数据库连接成功，设置正确！\r\n请保存设置!"));
      },
      [] {
        rt::dialogs().failure(QStringLiteral("系统提示"),
                              QStringLiteral("数据库连接失败，设置错误！\r\n请不要保存设置!"));
      },
  };
  const char* pictures[] = {"notice_box.png", "failure_box.png"};
  for (int i = 0; i < 2; ++i) {
    const Seen seen = with_box(boxes[i], [](QMessageBox* box) { key(box, Qt::Key_Return); });
    EXPECT_EQ(seen.buttons, QStringList{"确定"});
    EXPECT_EQ(seen.default_button, "确定");
    EXPECT_TRUE(seen.picture.save(test::screenshot_folder() + pictures[i]));
  }
}

// The window system would show the program's internal name for an empty title.
TEST(QtDialogs, AnEmptyTitleShowsNoTitle) {
  QCoreApplication::setApplicationName(QStringLiteral("main"));
  const Seen seen = with_box([] { rt::dialogs().failure(QString(), QStringLiteral("连接失败")); },
                             [](QMessageBox* box) { key(box, Qt::Key_Return); });
  EXPECT_FALSE(seen.window_title.isEmpty());
  EXPECT_EQ(seen.window_title.trimmed(), "");
}

TEST(QtDialogs, TheFileDialogIsChinese) {
  test::TempProgramFolder dir;
  QStringList buttons;
  QString title;
  QObject scope;
  QTimer::singleShot(0, &scope, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return ADD_FAILURE() << "no file dialog";
    title = dialog->windowHandle()->title();
    for (QAbstractButton* b : dialog->findChild<QDialogButtonBox*>()->buttons())
      buttons << b->text();
    buttons.sort();
    dialog->reject();
  });
  const rt::FileChoice c =
      rt::dialogs().open_file(QStringLiteral("请选择数据库路径"), QStringLiteral("DB"),
                              QStringLiteral("DB Files (*.DB),*.DB"));
  EXPECT_EQ(c.result, 0);
  EXPECT_EQ(title, "请选择数据库路径");
  EXPECT_EQ(buttons, (QStringList{"取消", "打开(&O)"}));
}

}  // namespace
