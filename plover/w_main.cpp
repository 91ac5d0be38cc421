#include "plover/w_main.h"

#include <QGuiApplication>
#include <QScreen>

#include "plover/cb_test.h"
#include "plover/pictures.h"
#include "plover/uo_1_attach.h"
#include "shared/panel_settings.h"

namespace plover {

w_main::w_main(QWidget* parent) : panel_window(parent) { create(); }

void w_main::create() {
  using enum shared::kind;
  using enum shared::visibility;
  // cb_save2 lies under cb_save, which hides it: the covered button takes neither a tab
  // position nor the focus nor its mnemonic, so Alt+S and Tab reach the save button the user
  // sees.
  build({QStringLiteral("数据库连接设置 V16.2"), house_ico(), 2249, 1496},
        {
            {uo_1, push_button, u"附加", 32, 1248, 361, 108, 150, shown},
            {cbx_1, check_box, u"使用网络数据库", 64, 1268, 494, 60, 0, hidden},
            {rb_2, radio_button, u"SQL Server 2000", 1175, 440, 713, 60, 0, shown},
            {rb_1, radio_button, u"ACCESS", 210, 440, 549, 60, 0, shown},
            {st_10, label, u"服务器名：", 1134, 676, 325, 76, 0, shown},
            {sle_server_name2, single_line_edit, u"", 1458, 672, 704, 92, 60, shown},
            {st_9, label, u"数据库名：", 1134, 796, 325, 76, 0, shown},
            {sle_database_name2, single_line_edit, u"", 1458, 780, 704, 92, 70, shown},
            {st_8, label, u"用 户 名：", 1134, 900, 325, 76, 0, shown},
            {sle_user_name2, single_line_edit, u"", 1458, 884, 704, 92, 80, shown},
            {st_7, label, u"用户密码：", 1134, 1000, 325, 76, 0, shown},
            {sle_user_password2, password_edit, u"", 1458, 984, 704, 92, 90, shown},
            {st_6, label, u"确   认：", 1134, 1104, 325, 76, 0, shown},
            {sle_user_two2, password_edit, u"", 1458, 1088, 704, 92, 100, shown},
            {p_1, picture, u"", 0, 4, 2341, 320, 0, shown},
            {cb_cancel, push_button, u"关闭(&C)", 1847, 1248, 361, 108, 140, shown},
            {cb_test, push_button, u"测试(&T)", 1458, 1248, 361, 108, 130, shown},
            {cb_save, push_button, u"保存(&S)", 1070, 1248, 361, 108, 120, shown},
            {cb_create, push_button, u"创建(&C)", 681, 1248, 361, 108, 110, shown},
            {cb_create2, command_button, u"创建(&C)", 9, 904, 361, 108, 150, hidden},
            {cb_cancel2, command_button, u"关闭(&C)", 1175, 904, 361, 108, 180, hidden},
            {cb_test2, command_button, u"测试(&T)", 786, 904, 361, 108, 170, hidden},
            {cb_save2, command_button, u"保存(&S)", 1070, 1248, 361, 108, 0, shown},
            {sle_user_two, password_edit, u"", 352, 1088, 704, 92, 50, shown},
            {st_5, label, u"确   认：", 27, 1104, 325, 76, 0, shown},
            {sle_user_password, password_edit, u"", 352, 984, 704, 92, 40, shown},
            {st_4, label, u"用户密码：", 27, 1000, 325, 76, 0, shown},
            {sle_user_name, single_line_edit, u"", 352, 884, 704, 92, 30, shown},
            {st_3, label, u"用 户 名：", 27, 900, 325, 76, 0, shown},
            {sle_database_name, single_line_edit, u"", 352, 780, 704, 92, 20, shown},
            {st_2, label, u"数据库名：", 27, 796, 325, 76, 0, shown},
            {sle_server_name, single_line_edit, u"", 352, 672, 704, 92, 10, shown},
            {st_1, label, u"服务器名：", 27, 676, 325, 76, 0, shown},
            {gb_2, group_box, u"数据库类型", 14, 356, 2190, 208, 0, shown},
            {gb_1, group_box, u"实时联网-网络数据库连接信息", 14, 572, 1088, 660, 0, shown},
            {gb_3, group_box, u"分店断点联网-网络数据库连接信息", 1120, 572, 1088, 660, 0, shown},
        });

  rb_1->setChecked(true);  // checked in the definition
  // Shown at the bitmap's own size.
  const QPixmap banner = database_bmp();
  p_1->setPixmap(banner);
  p_1->resize(banner.size());
  cb_save2->setFocusPolicy(Qt::NoFocus);
  cb_save2->setShortcut(QKeySequence());
  // For whatever drives the window by name.
  cb_save->setObjectName(QStringLiteral("cb_save"));
  cb_create->setObjectName(QStringLiteral("cb_create"));

  connect(uo_1, &uo_xpbutton::clicked, this, &w_main::uo_1_clicked);
  connect(cb_test, &uo_xpbutton::clicked, this, &w_main::cb_test_clicked);

  // Centred on the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect avail = screen->availableGeometry();
    move(avail.center() - rect().center());
  }
}

void w_main::open() {
  shared::load_panel_settings(panel());
  sle_server_name->setFocus();  // the first control of the tab sequence
}

void w_main::uo_1_clicked() { plover::uo_1_clicked(panel()); }
void w_main::cb_test_clicked() { plover::cb_test_clicked(panel()); }

}  // namespace plover
