#include "kestrel/w_main.h"

#include <QCloseEvent>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyle>

#include "runtime/units.h"
#include "runtime/window_font.h"
#include "shared/panel_create.h"
#include "shared/panel_save.h"
#include "shared/panel_settings.h"
#include "shared/panel_test.h"

namespace kestrel {
namespace {

QColor colour(long c) {
  const rt::Rgb v = rt::rgb_from_long(c);
  return QColor(v.r, v.g, v.b);
}

// The window's size in layout units includes its frame; the client area is what is left
// inside a title bar and thin borders.
constexpr int kFrameAcross = 6;
constexpr int kFrameDown = 25;

}  // namespace

w_main::w_main(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  create();
  set_main_window(this);
}

w_main::~w_main() {
  if (main_window() == this) set_main_window(nullptr);
  close_w_wait();
}

void w_main::create() {
  setWindowTitle(QStringLiteral("数据库管理16.2"));
  setWindowIcon(style()->standardIcon(QStyle::SP_DriveHDIcon));
  const rt::PxRect size = rt::px_rect(0, 0, 1595, 1204);
  setFixedSize(size.w - kFrameAcross, size.h - kFrameDown);
  setFont(rt::window_font(QStringLiteral("宋体"), 9));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Button));  // the 3-D face colour
  setPalette(pal);
  setAutoFillBackground(true);

  const auto add = [this](auto* c, int x, int y, int w, int h, bool shown = true) {
    const rt::PxRect r = rt::px_rect(x, y, w, h);
    c->setGeometry(r.x, r.y, r.w, r.h);
    if (!shown) c->setVisible(false);
    control.push_back(c);
    return c;
  };
  const auto label = [&](const char16_t* text, int x, int y) {
    QLabel* l = add(new QLabel(QString::fromUtf16(text), this), x, y, 325, 76, false);
    l->setEnabled(false);
    return l;
  };
  const auto edit = [&](int x, int y, bool password, bool keep_selection = false) {
    singlelineedit* e = add(new singlelineedit(this), x, y, 704, 92, false);
    e->set_auto_hscroll(false);
    e->set_hide_selection(!keep_selection);
    if (password) e->setEchoMode(QLineEdit::Password);
    return e;
  };
  const auto check = [&](const char16_t* text, bool checked, int x, int y, int w, int h,
                         bool shown = true) {
    QCheckBox* c = add(new QCheckBox(QString::fromUtf16(text), this), x, y, w, h, shown);
    c->setChecked(checked);
    c->setFocusPolicy(Qt::ClickFocus);
    return c;
  };
  const auto xpbutton = [&](const char16_t* tag, int x, int y, bool shown, int taborder) {
    uo_xpbutton* b = new uo_xpbutton(this);
    b->set_tag(QString::fromUtf16(tag));
    b->place(x, y, 361, 108);
    b->set_taborder(taborder);
    if (!shown) b->setVisible(false);
    control.push_back(b);
    return b;
  };
  const auto command = [&](const char16_t* text, int x, int y) {
    QPushButton* b = add(new QPushButton(QString::fromUtf16(text), this), x, y, 361, 108, false);
    b->setFont(rt::window_font(QStringLiteral("楷体_GB2312"), 12, 700));
    return b;
  };
  const auto group = [&](const char16_t* text, int x, int y, int w, int h, bool shown) {
    return add(new QGroupBox(QString::fromUtf16(text), this), x, y, w, h, shown);
  };

  st_11 = add(new QLabel(this), 905, 288, 599, 84);
  st_11->setFont(rt::window_font(QStringLiteral("宋体"), 10, 700));
  QPalette blue = st_11->palette();
  blue.setColor(QPalette::WindowText, colour(16711680));
  st_11->setPalette(blue);

  hpb_1 = add(new QProgressBar(this), 210, 864, 1271, 64);
  hpb_1->setRange(0, 100);
  hpb_1->setValue(50);
  hpb_1->setTextVisible(false);

  em_2 = add(new QLineEdit(QStringLiteral("100.00"), this), 937, 732, 402, 84);
  em_2->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral(R"(-?\d*(\.\d{0,2})?)")), em_2));
  cbx_6 = check(u"保留小于指定金额的数据", false, 210, 732, 718, 84);
  em_1 = add(new QLineEdit(this), 937, 632, 402, 84);
  em_1->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));
  em_1->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral(R"(\d{0,4}(/\d{0,2}(/\d{0,2})?)?)")), em_1));
  cbx_5 = check(u"保留指定时间以后的数据", false, 210, 632, 686, 84);
  cbx_4 = check(u"保留现金消费明细", true, 210, 548, 521, 60);
  cbx_3 = check(u"保留会员消费明细", true, 210, 456, 521, 60);
  cbx_2 = check(u"保留会员资料", true, 210, 364, 411, 60);
  cbx_1 = check(u"使用网络数据库", false, 64, 1268, 494, 60, false);
  rb_2 = add(new QRadioButton(QStringLiteral("SQL Server 2000"), this), 937, 108, 549, 60);
  rb_1 = add(new QRadioButton(QStringLiteral("ACCESS"), this), 210, 108, 549, 60);
  rb_1->setChecked(true);
  rb_1->setFocusPolicy(Qt::ClickFocus);
  rb_2->setFocusPolicy(Qt::ClickFocus);

  // The descriptions' texts (".", "res", "sa") never show: open replaces them all.
  st_10 = label(u"服务器名：", 1134, 676);
  sle_server_name2 = edit(1458, 672, false, true);
  st_9 = label(u"数据库名：", 1134, 796);
  sle_database_name2 = edit(1458, 780, false);
  st_8 = label(u"用 户 名：", 1134, 900);
  sle_user_name2 = edit(1458, 884, false);
  st_7 = label(u"用户密码：", 1134, 1000);
  sle_user_password2 = edit(1458, 984, true);
  st_6 = label(u"确   认：", 1134, 1104);
  sle_user_two2 = edit(1458, 1088, true);

  cb_cancel = xpbutton(u"关闭(&C)", 1166, 992, true, 140);
  cb_test = xpbutton(u"开始(&S)", 777, 992, true, 130);
  cb_test->setObjectName(QStringLiteral("cb_test"));  // for whatever drives the window by name
  cb_save = xpbutton(u"保存(&S)", 562, 1000, false, 120);
  cb_create = xpbutton(u"创建(&C)", 174, 1000, false, 110);
  cb_create2 = command(u"创建(&C)", 9, 904);
  cb_cancel2 = command(u"关闭(&C)", 1175, 904);
  cb_test2 = command(u"测试(&T)", 786, 904);
  cb_save2 = command(u"保存(&S)", 562, 1000);

  sle_user_two = edit(352, 1088, true);
  st_5 = label(u"确   认：", 27, 1104);
  sle_user_password = edit(352, 984, true);
  st_4 = label(u"用户密码：", 27, 1000);
  sle_user_name = edit(352, 884, false);
  st_3 = label(u"用 户 名：", 27, 900);
  sle_database_name = edit(352, 780, false);
  st_2 = label(u"数据库名：", 27, 796);
  sle_server_name = edit(352, 672, false, true);
  st_1 = label(u"服务器名：", 27, 676);

  gb_2 = group(u"数据库类型", 14, 24, 1518, 208, true);
  gb_1 = group(u"本地数据库连接信息", 14, 572, 1088, 660, false);
  gb_3 = group(u"网络数据库连接信息", 1120, 572, 1088, 660, false);
  gb_4 = group(u"数据设置", 14, 248, 1518, 720, true);

  // The first control of the list lies in front.
  for (auto it = control.rbegin(); it != control.rend(); ++it) (*it)->raise();

  // Tab positions, in their order; hidden controls are skipped by the focus chain.
  QWidget* const tabs[] = {sle_server_name,
                           sle_database_name,
                           sle_user_name,
                           em_1,
                           sle_user_password,
                           sle_user_two,
                           sle_server_name2,
                           em_2,
                           sle_database_name2,
                           sle_user_name2,
                           sle_user_password2,
                           sle_user_two2,
                           cb_create,
                           cb_save,
                           cb_test,
                           cb_cancel,
                           cb_create2,
                           cb_save2,
                           cb_test2,
                           cb_cancel2};
  for (size_t i = 1; i < std::size(tabs); ++i) setTabOrder(tabs[i - 1], tabs[i]);

  const shared::panel_controls c = shared::panel_controls_of(*this);
  panel_ = std::make_unique<shared::panel_view>(c);
  shared::connect_edit_events(c);

  connect(cb_test, &uo_xpbutton::clicked, this, &w_main::cb_test_clicked);
  connect(cb_cancel, &uo_xpbutton::clicked, this, &w_main::cb_cancel_clicked);
  shared::connect_panel_buttons(*this);
}

void w_main::open() {
  shared::load_panel_settings(*panel_);
  hpb_1->setValue(0);
  em_1->setFocus();  // the first visible control of the tab sequence
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void w_main::cb_test_clicked() {
  // The action yields to the message loop; a second click meanwhile must not start another.
  if (ib_running) return;
  ib_running = true;
  start_action(*this);
  ib_running = false;
}

void w_main::cb_cancel_clicked() { close(); }
void w_main::cb_save_clicked() { shared::cb_save_clicked(*panel_); }
void w_main::cb_save2_clicked() { shared::cb_save2_clicked(*panel_); }
void w_main::cb_create_clicked() { shared::cb_create_clicked(*panel_); }
void w_main::cb_create2_clicked() { shared::cb_create_clicked(*panel_); }
void w_main::cb_test2_clicked() { shared::cb_test2_clicked(*panel_); }
void w_main::cb_cancel2_clicked() { close(); }

void w_main::closeEvent(QCloseEvent* e) {
  if (ib_running) {
    e->ignore();
    return;
  }
  close_w_wait();
  QWidget::closeEvent(e);
}

bool w_main::cbx_checked(int n) const {
  const QCheckBox* const boxes[] = {cbx_1, cbx_2, cbx_3, cbx_4, cbx_5, cbx_6};
  return n >= 1 && n <= 6 && boxes[n - 1]->isChecked();
}

unsigned w_main::hpb_1_position() const { return static_cast<unsigned>(hpb_1->value()); }
unsigned w_main::hpb_1_maxposition() const { return static_cast<unsigned>(hpb_1->maximum()); }
void w_main::set_hpb_1_position(unsigned position) {
  hpb_1->setValue(static_cast<int>(std::min<unsigned>(position, hpb_1_maxposition())));
}
void w_main::set_hpb_1_maxposition(unsigned maxposition) {
  hpb_1->setMaximum(static_cast<int>(maxposition));
}
void w_main::hpb_1_stepit() { set_hpb_1_position(hpb_1_position() + 1); }

void w_main::open_w_wait(const QString& s_inf) {
  close_w_wait();
  iw_wait = new w_wait(this);
  iw_wait->setAttribute(Qt::WA_DeleteOnClose);
  iw_wait->open(s_inf);
}

// The Start action sets a text right before the long call it announces and yields only
// afterwards: each text is painted at once, so the step that runs is the one shown.
void w_main::set_st_11_text(const QString& text) {
  st_11->setText(text);
  st_11->repaint();
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
