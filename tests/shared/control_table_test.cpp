// A window laid out from its control table: every kind, the places, the stacking and the tab
// sequence.
#include "shared/control_table.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "runtime/units.h"
#include "shared/button/uo_xpbutton.h"
#include "shared/singlelineedit.h"

namespace {

QRect px(int x, int y, int w, int h) {
  const rt::PxRect r = rt::px_rect(x, y, w, h);
  return {r.x, r.y, r.w, r.h};
}

struct TableWindow : QWidget {
  TableWindow() {
    using enum shared::kind;
    using enum shared::visibility;
    shared::build_window(*this, {QStringLiteral("窗口"), QIcon(), 1600, 1200},
                         {
                             {cb_1, push_button, u"开始(&S)", 777, 992, 361, 108, 30, shown},
                             {sle_1, single_line_edit, u"", 352, 672, 704, 92, 20, shown},
                             {sle_2, password_edit, u"", 352, 780, 704, 92, 30, hidden},
                             {em_1, edit_mask, u"100.00", 937, 732, 402, 84, 20, shown},
                             {cbx_1, check_box, u"保留会员资料", 210, 364, 411, 60, 0, shown},
                             {rb_1, radio_button, u"ACCESS", 210, 108, 549, 60, 0, shown},
                             {st_1, label, u"服务器名：", 27, 676, 325, 76, 0, shown},
                             {st_2, static_text, u"", 905, 288, 599, 84, 0, shown},
                             {cb_2, command_button, u"测试(&T)", 786, 904, 361, 108, 10, hidden},
                             {hpb_1, progress_bar, u"", 210, 864, 1271, 64, 0, shown},
                             {gb_1, group_box, u"数据设置", 14, 24, 1518, 1100, 0, shown},
                         },
                         control);
  }
  uo_xpbutton* cb_1;
  singlelineedit *sle_1, *sle_2;
  QLineEdit* em_1;
  QCheckBox* cbx_1;
  QRadioButton* rb_1;
  QLabel *st_1, *st_2;
  QPushButton* cb_2;
  QProgressBar* hpb_1;
  QGroupBox* gb_1;
  std::vector<QWidget*> control;
};

TEST(ControlTable, EachRowBecomesItsControlAtItsPlace) {
  TableWindow w;
  EXPECT_EQ(w.windowTitle(), "窗口");
  EXPECT_EQ(w.size(), px(0, 0, 1600, 1200).size() - QSize(6, 25)) << "the frame is outside";
  EXPECT_EQ(w.control, (std::vector<QWidget*>{w.cb_1, w.sle_1, w.sle_2, w.em_1, w.cbx_1, w.rb_1,
                                              w.st_1, w.st_2, w.cb_2, w.hpb_1, w.gb_1}));
  struct Row {
    QWidget* c;
    QRect r;
    bool hidden;
    Qt::FocusPolicy focus;
  } rows[] = {
      {w.cb_1, px(777, 992, 361, 108), false, Qt::TabFocus},
      {w.sle_2, px(352, 780, 704, 92), true, Qt::StrongFocus},
      {w.cbx_1, px(210, 364, 411, 60), false, Qt::ClickFocus},
      {w.rb_1, px(210, 108, 549, 60), false, Qt::ClickFocus},
      {w.st_1, px(27, 676, 325, 76), false, Qt::NoFocus},
      {w.cb_2, px(786, 904, 361, 108), true, Qt::StrongFocus},
      {w.gb_1, px(14, 24, 1518, 1100), false, Qt::NoFocus},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.c->metaObject()->className());
    EXPECT_EQ(r.c->geometry(), r.r);
    EXPECT_EQ(r.c->isHidden(), r.hidden);
    EXPECT_EQ(r.c->focusPolicy(), r.focus);
  }
  EXPECT_EQ(w.cb_1->tag(), "开始(&S)");
  EXPECT_EQ(w.cb_1->taborder(), 30);
  EXPECT_EQ(w.sle_1->echoMode(), QLineEdit::Normal);
  EXPECT_EQ(w.sle_2->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(w.sle_2->auto_hscroll());
  EXPECT_EQ(w.em_1->text(), "100.00");
  EXPECT_FALSE(w.st_1->isEnabled()) << "a field's label is greyed";
  EXPECT_TRUE(w.st_2->isEnabled());
  EXPECT_EQ(w.cb_2->font().family(), "AR PL UKai CN");
  EXPECT_TRUE(w.cb_2->font().bold());
  EXPECT_EQ(w.gb_1->title(), "数据设置");
  EXPECT_EQ(w.st_1->font().family(), "AR PL UMing CN");
}

// The first row lies in front, the last behind all others.
TEST(ControlTable, TheFirstRowLiesInFront) {
  TableWindow w;
  std::vector<QWidget*> bottom_up;
  for (QObject* o : w.children())
    if (auto* c = qobject_cast<QWidget*>(o)) bottom_up.push_back(c);
  EXPECT_EQ(bottom_up, std::vector<QWidget*>(w.control.rbegin(), w.control.rend()));
}

// Lowest tab position first; equal positions in table order; hidden controls keep their place;
// rows without a position are not in the sequence.
TEST(ControlTable, TheTabSequenceFollowsTheTabPositions) {
  TableWindow w;
  const std::vector<QWidget*> expected = {w.cb_2, w.sle_1, w.em_1, w.cb_1, w.sle_2};
  std::vector<QWidget*> chain;  // the order in which the focus chain meets them
  QWidget* c = w.cb_2;
  do {
    if (std::find(expected.begin(), expected.end(), c) != expected.end()) chain.push_back(c);
    c = c->nextInFocusChain();
  } while (c != w.cb_2);
  EXPECT_EQ(chain, expected);
}

}  // namespace
