#include "kestrel/w_main.h"

#include <QCloseEvent>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "kestrel/rebuild/start_action.h"
#include "runtime/units.h"
#include "runtime/window_font.h"
#include "shared/panel_settings.h"

namespace kestrel {

w_main::w_main(QWidget* parent) : panel_window(parent) { create(); }

w_main::~w_main() { close_w_wait(); }

void w_main::create() {
  using enum shared::kind;
  using enum shared::visibility;
  // The descriptions' texts of the connection fields (".", "res", "sa") never show: open
  // replaces them all. The group box gb_4 takes no tab position.
  build(
      {QStringLiteral("数据库管理16.2"), style()->standardIcon(QStyle::SP_DriveHDIcon), 1595, 1204},
      {
          {st_11, static_text, u"", 905, 288, 599, 84, 0, shown},
          {hpb_1, progress_bar, u"", 210, 864, 1271, 64, 0, shown},
          {em_2, edit_mask, u"100.00", 937, 732, 402, 84, 70, shown},
          {cbx_6, check_box, u"保留小于指定金额的数据", 210, 732, 718, 84, 0, shown},
          {em_1, edit_mask, u"", 937, 632, 402, 84, 40, shown},
          {cbx_5, check_box, u"保留指定时间以后的数据", 210, 632, 686, 84, 0, shown},
          {cbx_4, check_box, u"保留现金消费明细", 210, 548, 521, 60, 0, shown},
          {cbx_3, check_box, u"保留会员消费明细", 210, 456, 521, 60, 0, shown},
          {cbx_2, check_box, u"保留会员资料", 210, 364, 411, 60, 0, shown},
          {cbx_1, check_box, u"使用网络数据库", 64, 1268, 494, 60, 0, hidden},
          {rb_2, radio_button, u"SQL Server 2000", 937, 108, 549, 60, 0, shown},
          {rb_1, radio_button, u"ACCESS", 210, 108, 549, 60, 0, shown},
          {st_10, label, u"服务器名：", 1134, 676, 325, 76, 0, hidden},
          {sle_server_name2, single_line_edit, u"", 1458, 672, 704, 92, 60, hidden},
          {st_9, label, u"数据库名：", 1134, 796, 325, 76, 0, hidden},
          {sle_database_name2, single_line_edit, u"", 1458, 780, 704, 92, 70, hidden},
          {st_8, label, u"用 户 名：", 1134, 900, 325, 76, 0, hidden},
          {sle_user_name2, single_line_edit, u"", 1458, 884, 704, 92, 80, hidden},
          {st_7, label, u"用户密码：", 1134, 1000, 325, 76, 0, hidden},
          {sle_user_password2, password_edit, u"", 1458, 984, 704, 92, 90, hidden},
          {st_6, label, u"确   认：", 1134, 1104, 325, 76, 0, hidden},
          {sle_user_two2, password_edit, u"", 1458, 1088, 704, 92, 100, hidden},
          {cb_cancel, push_button, u"关闭(&C)", 1166, 992, 361, 108, 140, shown},
          {cb_test, push_button, u"开始(&S)", 777, 992, 361, 108, 130, shown},
          {cb_save, push_button, u"保存(&S)", 562, 1000, 361, 108, 120, hidden},
          {cb_create, push_button, u"创建(&C)", 174, 1000, 361, 108, 110, hidden},
          {cb_create2, command_button, u"创建(&C)", 9, 904, 361, 108, 150, hidden},
          {cb_cancel2, command_button, u"关闭(&C)", 1175, 904, 361, 108, 180, hidden},
          {cb_test2, command_button, u"测试(&T)", 786, 904, 361, 108, 170, hidden},
          {cb_save2, command_button, u"保存(&S)", 562, 1000, 361, 108, 160, hidden},
          {sle_user_two, password_edit, u"", 352, 1088, 704, 92, 50, hidden},
          {st_5, label, u"确   认：", 27, 1104, 325, 76, 0, hidden},
          {sle_user_password, password_edit, u"", 352, 984, 704, 92, 40, hidden},
          {st_4, label, u"用户密码：", 27, 1000, 325, 76, 0, hidden},
          {sle_user_name, single_line_edit, u"", 352, 884, 704, 92, 30, hidden},
          {st_3, label, u"用 户 名：", 27, 900, 325, 76, 0, hidden},
          {sle_database_name, single_line_edit, u"", 352, 780, 704, 92, 20, hidden},
          {st_2, label, u"数据库名：", 27, 796, 325, 76, 0, hidden},
          {sle_server_name, single_line_edit, u"", 352, 672, 704, 92, 10, hidden},
          {st_1, label, u"服务器名：", 27, 676, 325, 76, 0, hidden},
          {gb_2, group_box, u"数据库类型", 14, 24, 1518, 208, 0, shown},
          {gb_1, group_box, u"本地数据库连接信息", 14, 572, 1088, 660, 0, hidden},
          {gb_3, group_box, u"网络数据库连接信息", 1120, 572, 1088, 660, 0, hidden},
          {gb_4, group_box, u"数据设置", 14, 248, 1518, 720, 0, shown},
      });

  st_11->setFont(rt::window_font(QStringLiteral("宋体"), 10, 700));
  QPalette blue = st_11->palette();
  const rt::Rgb c = rt::rgb_from_long(16711680);
  blue.setColor(QPalette::WindowText, QColor(c.r, c.g, c.b));
  st_11->setPalette(blue);
  hpb_1->setRange(0, 100);
  hpb_1->setValue(50);
  hpb_1->setTextVisible(false);
  em_2->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral(R"(-?\d*(\.\d{0,2})?)")), em_2));
  // "yyyy/mm/dd": the digits are typed into their places, the separators stand fixed.
  em_1->setInputMask(QStringLiteral("9999/99/99"));
  // A click into the field before a digit is there starts the typing at its first place, not
  // where the click fell, past which no digit could go.
  connect(em_1, &QLineEdit::cursorPositionChanged, em_1, [this](int, int now) {
    if (now != 0 && em_1->text() == QStringLiteral("//")) em_1->setCursorPosition(0);
  });
  // Checked in the definition.
  cbx_4->setChecked(true);
  cbx_3->setChecked(true);
  cbx_2->setChecked(true);
  rb_1->setChecked(true);
  // The server fields keep their selection visible when they lose the focus.
  sle_server_name->set_hide_selection(false);
  sle_server_name2->set_hide_selection(false);
  cb_test->setObjectName(QStringLiteral("cb_test"));  // for whatever drives the window by name

  connect(cb_test, &uo_xpbutton::clicked, this, &w_main::cb_test_clicked);
}

void w_main::open() {
  shared::load_panel_settings(panel());
  hpb_1->setValue(0);
  em_1->setFocus();  // the first visible control of the tab sequence
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void w_main::cb_test_clicked() {
  // The action yields to the message loop; a second click meanwhile must not start another.
  if (ib_running) return;
  ib_running = true;
  rebuild::program_start_action(*this);
  ib_running = false;
}

void w_main::closeEvent(QCloseEvent* e) {
  if (ib_running) {
    e->ignore();
    return;
  }
  close_w_wait();
  QWidget::closeEvent(e);
}

// Only a mask filled in holds a date: one with places still blank reads as no date at all,
// never as the digits typed so far.
QString w_main::em_1_text() const { return em_1->hasAcceptableInput() ? em_1->text() : QString(); }

bool w_main::cbx_checked(int n) const {
  const QCheckBox* const boxes[] = {cbx_1, cbx_2, cbx_3, cbx_4, cbx_5, cbx_6};
  return n >= 1 && n <= 6 && boxes[n - 1]->isChecked();
}

// The Start action sets a text right before the long call it announces and yields only
// afterwards: each text is painted at once, so the step that runs is the one shown.
void w_main::set_st_11(const QString& text) {
  st_11->setText(text);
  st_11->repaint();
}

void w_main::hpb_start(int maxposition) {
  hpb_1->setValue(0);
  hpb_1->setMaximum(maxposition);
}
void w_main::hpb_stepit() { hpb_1->setValue(std::min(hpb_1->value() + 1, hpb_1->maximum())); }

void w_main::open_w_wait(const QString& s_inf) {
  close_w_wait();
  iw_wait = new w_wait(this);
  iw_wait->setAttribute(Qt::WA_DeleteOnClose);
  iw_wait->open(s_inf);
}

QString w_main::w_wait_text() const { return iw_wait ? iw_wait->st_1->text() : QString(); }
void w_main::set_w_wait_text(const QString& text) {
  if (!iw_wait) return;
  iw_wait->st_1->setText(text);
  iw_wait->st_1->repaint();
}
void w_main::close_w_wait() {
  if (iw_wait) delete iw_wait.data();
}

}  // namespace kestrel
