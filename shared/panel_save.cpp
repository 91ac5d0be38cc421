#include "shared/panel_save.h"

#include "runtime/dialogs.h"
#include "shared/connection_panel.h"
#include "shared/panel_settings.h"
#include "shared/u_enpt.h"

namespace shared {
namespace {

bool confirm_save() {
  return rt::dialogs().question(QStringLiteral("操作提示"),
                                QStringLiteral("真的要保存刚才的修改吗?"), true);
}

void mismatch(connection_panel& p, const QString& text, sle focus) {
  rt::dialogs().failure(QStringLiteral("错误提示"), text);
  p.set_focus(focus);
}

std::vector<setting> local_keys(const connection_set& s, int kind) {
  return {{QStringLiteral("server_name"), s.server},
          {QStringLiteral("database_name"), s.database},
          {QStringLiteral("user_name"), s.user},
          {QStringLiteral("user_password"), s.password},
          {QStringLiteral("database_type"), QString::number(kind)}};
}

}  // namespace

void cb_save_clicked(connection_panel& p) {
  const u_enpt uo_a;
  connection_set s = read_local_set(p);
  s.password = uo_a.f_enpt(s.password);
  s.confirmation = uo_a.f_enpt(s.confirmation);
  if (s.password != s.confirmation)
    return mismatch(p, QStringLiteral("本地数据库用户密码前后不一致!"), sle::user_password);
  const int kind = take_kind(p);
  const QString ls_connect = p.cbx_1_checked() ? QStringLiteral("2") : QStringLiteral("1");
  if (!confirm_save()) return;

  std::vector<setting> keys = local_keys(s, kind);
  keys.push_back({QStringLiteral("connect"), ls_connect});
  connection_set n = read_network_set(p);
  n.password = uo_a.f_enpt(n.password);
  n.confirmation = uo_a.f_enpt(n.confirmation);
  // A network mismatch keeps the local keys written; otherwise both sets are one save, so a
  // network value the file cannot hold leaves the local keys unwritten too.
  if (n.password != n.confirmation) {
    if (!write_settings(keys)) return;
    return mismatch(p, QStringLiteral("网络数据库用户密码前后不一致!"), sle::user_password2);
  }
  keys.insert(keys.end(), {{QStringLiteral("server_name2"), n.server},
                           {QStringLiteral("database_name2"), n.database},
                           {QStringLiteral("user_name2"), n.user},
                           {QStringLiteral("user_password2"), n.password}});
  write_settings(keys);
}

void cb_save2_clicked(connection_panel& p) {
  const connection_set s = read_local_set(p);
  if (s.password != s.confirmation)
    return mismatch(p, QStringLiteral("用户密码前后不一致!"), sle::user_password);
  const int kind = take_kind(p);
  if (!confirm_save()) return;
  write_settings(local_keys(s, kind));
}

}  // namespace shared
