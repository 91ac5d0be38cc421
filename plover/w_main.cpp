#include "plover/w_main.h"

#include <QGuiApplication>
#include <QScreen>

#include "plover/cb_test.h"
#include "plover/pictures.h"
#include "plover/uo_1_attach.h"
#include "runtime/units.h"
#include "runtime/window_font.h"
#include "shared/panel_create.h"
#include "shared/panel_save.h"
#include "shared/panel_settings.h"
#include "shared/panel_test.h"

namespace plover {
namespace {

// The window's size in layout units includes its frame; the client area is what is left
// inside a title bar and thin borders.
constexpr int kFrameAcross = 6;
constexpr int kFrameDown = 25;

}  // namespace

w_main::w_main(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  create();
}

w_main::~w_main() = default;

void w_main::create() {
  setWindowTitle(QStringLiteral("数据库连接设置 V16.2"));
  setWindowIcon(house_ico());
  const rt::PxRect size = rt::px_rect(0, 0, 2249, 1496);
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
    QLabel* l = add(new QLabel(QString::fromUtf16(text), this), x, y, 325, 76);
    l->setEnabled(false);
    return l;
  };
  const auto edit = [&](int x, int y, bool password) {
    singlelineedit* e = add(new singlelineedit(this), x, y, 704, 92);
    e->set_auto_hscroll(false);
    if (password) e->setEchoMode(QLineEdit::Password);
    return e;
  };
  const auto radio = [&](const char16_t* text, int x, int y, int w) {
    QRadioButton* r = add(new QRadioButton(QString::fromUtf16(text), this), x, y, w, 60);
    r->setFocusPolicy(Qt::ClickFocus);
    return r;
  };
  const auto xpbutton = [&](const char16_t* tag, int x, int y, int taborder) {
    uo_xpbutton* b = new uo_xpbutton(this);
    b->set_tag(QString::fromUtf16(tag));
    b->place(x, y, 361, 108);
    b->set_taborder(taborder);
    control.push_back(b);
    return b;
  };
  const auto command = [&](const char16_t* text, int x, int y, bool shown) {
    QPushButton* b = add(new QPushButton(QString::fromUtf16(text), this), x, y, 361, 108, shown);
    b->setFont(rt::window_font(QStringLiteral("楷体_GB2312"), 12, 700));
    return b;
  };
  const auto group = [&](const char16_t* text, int x, int y, int w, int h) {
    return add(new QGroupBox(QString::fromUtf16(text), this), x, y, w, h);
  };

  uo_1 = xpbutton(u"附加", 32, 1248, 150);
  cbx_1 = add(new QCheckBox(QStringLiteral("使用网络数据库"), this), 64, 1268, 494, 60, false);
  cbx_1->setFocusPolicy(Qt::ClickFocus);
  rb_2 = radio(u"SQL Server 2000", 1175, 440, 713);
  rb_1 = radio(u"ACCESS", 210, 440, 549);
  rb_1->setChecked(true);

  st_10 = label(u"服务器名：", 1134, 676);
  sle_server_name2 = edit(1458, 672, false);
  st_9 = label(u"数据库名：", 1134, 796);
  sle_database_name2 = edit(1458, 780, false);
  st_8 = label(u"用 户 名：", 1134, 900);
  sle_user_name2 = edit(1458, 884, false);
  st_7 = label(u"用户密码：", 1134, 1000);
  sle_user_password2 = edit(1458, 984, true);
  st_6 = label(u"确   认：", 1134, 1104);
  sle_user_two2 = edit(1458, 1088, true);

  // Shown at the bitmap's own size.
  const QPixmap banner = database_bmp();
  p_1 = add(new QLabel(this), 0, 4, 2341, 320);
  p_1->setPixmap(banner);
  p_1->resize(banner.size());

  cb_cancel = xpbutton(u"关闭(&C)", 1847, 1248, 140);
  cb_test = xpbutton(u"测试(&T)", 1458, 1248, 130);
  cb_save = xpbutton(u"保存(&S)", 1070, 1248, 120);
  cb_create = xpbutton(u"创建(&C)", 681, 1248, 110);
  cb_create2 = command(u"创建(&C)", 9, 904, false);
  cb_cancel2 = command(u"关闭(&C)", 1175, 904, false);
  cb_test2 = command(u"测试(&T)", 786, 904, false);
  cb_save2 = command(u"保存(&S)", 1070, 1248, true);
  // cb_save2 lies under cb_save, which hides it: the covered button takes neither the focus
  // nor its mnemonic, so Alt+S and Tab reach the save button the user sees.
  cb_save2->setFocusPolicy(Qt::NoFocus);
  cb_save2->setShortcut(QKeySequence());

  sle_user_two = edit(352, 1088, true);
  st_5 = label(u"确   认：", 27, 1104);
  sle_user_password = edit(352, 984, true);
  st_4 = label(u"用户密码：", 27, 1000);
  sle_user_name = edit(352, 884, false);
  st_3 = label(u"用 户 名：", 27, 900);
  sle_database_name = edit(352, 780, false);
  st_2 = label(u"数据库名：", 27, 796);
  sle_server_name = edit(352, 672, false);
  st_1 = label(u"服务器名：", 27, 676);

  gb_2 = group(u"数据库类型", 14, 356, 2190, 208);
  gb_1 = group(u"实时联网-网络数据库连接信息", 14, 572, 1088, 660);
  gb_3 = group(u"分店断点联网-网络数据库连接信息", 1120, 572, 1088, 660);

  // The first control of the list lies in front: cb_save over cb_save2, and the group boxes,
  // created last, behind the fields they frame, so they never take a click meant for one.
  for (auto it = control.rbegin(); it != control.rend(); ++it) (*it)->raise();

  // Tab positions, in their order; hidden controls are skipped by the focus chain.
  QWidget* const tabs[] = {sle_server_name,
                           sle_database_name,
                           sle_user_name,
                           sle_user_password,
                           sle_user_two,
                           sle_server_name2,
                           sle_database_name2,
                           sle_user_name2,
                           sle_user_password2,
                           sle_user_two2,
                           cb_create,
                           cb_save,
                           cb_test,
                           cb_cancel,
                           uo_1,
                           cb_create2,
                           cb_test2,
                           cb_cancel2};
  for (size_t i = 1; i < std::size(tabs); ++i) setTabOrder(tabs[i - 1], tabs[i]);

  const shared::panel_controls c = shared::panel_controls_of(*this);
  panel_ = std::make_unique<shared::panel_view>(c);
  shared::connect_edit_events(c);

  connect(uo_1, &uo_xpbutton::clicked, this, &w_main::uo_1_clicked);
  connect(cb_cancel, &uo_xpbutton::clicked, this, &w_main::cb_cancel_clicked);
  connect(cb_test, &uo_xpbutton::clicked, this, &w_main::cb_test_clicked);
  shared::connect_panel_buttons(*this);

  // Centred on the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect avail = screen->availableGeometry();
    move(avail.center() - rect().center());
  }
}

void w_main::open() {
  shared::load_panel_settings(*panel_);
  sle_server_name->setFocus();  // the first control of the tab sequence
}

void w_main::uo_1_clicked() { plover::uo_1_clicked(*panel_); }
void w_main::cb_cancel_clicked() { close(); }
void w_main::cb_test_clicked() { plover::cb_test_clicked(*panel_); }
void w_main::cb_save_clicked() { shared::cb_save_clicked(*panel_); }
void w_main::cb_create_clicked() { shared::cb_create_clicked(*panel_); }
void w_main::cb_create2_clicked() { shared::cb_create_clicked(*panel_); }
void w_main::cb_cancel2_clicked() { close(); }
void w_main::cb_test2_clicked() { shared::cb_test2_clicked(*panel_); }
void w_main::cb_save2_clicked() { shared::cb_save2_clicked(*panel_); }

}  // namespace plover
