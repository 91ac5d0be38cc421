#include "shared/panel_settings.h"

#include "runtime/dialogs.h"
#include "runtime/settings_file.h"
#include "shared/connection_panel.h"
#include "shared/globals.h"

namespace shared {
namespace {

const QString kSection = QStringLiteral("database");

QString read(const QString& key, const QString& def) {
  return rt::profile_string(gs_inifile, kSection, key, def);
}

}  // namespace

void load_panel_settings(connection_panel& p) {
  const QString ls_server_name = read(QStringLiteral("server_name"), {});
  const QString ls_database_name = read(QStringLiteral("database_name"), {});
  const QString ls_user_name = read(QStringLiteral("user_name"), {});
  const QString ls_user_password = read(QStringLiteral("user_password"), {});
  const QString ls_connect = read(QStringLiteral("connect"), QStringLiteral("1"));
  const QString ls_database = read(QStringLiteral("database_type"), QStringLiteral("1"));

  p.set_text(sle::database_name, ls_database_name);
  p.set_text(sle::server_name, ls_server_name);
  p.set_text(sle::user_name, ls_user_name);
  p.set_text(sle::user_password, ls_user_password);
  p.set_text(sle::user_two, ls_user_password);

  if (ls_database == QStringLiteral("1")) {
    p.set_ii_database(1);
    p.check_kind(1);
  } else if (ls_database == QStringLiteral("2")) {
    p.set_ii_database(2);
    p.check_kind(2);
  }
  if (ls_connect == QStringLiteral("2")) p.set_cbx_1_checked(true);

  const QString server2 = read(QStringLiteral("server_name2"), ls_server_name);
  const QString database2 = read(QStringLiteral("database_name2"), ls_database_name);
  const QString user2 = read(QStringLiteral("user_name2"), ls_user_name);
  const QString password2 = read(QStringLiteral("user_password2"), ls_user_password);
  p.set_text(sle::database_name2, database2);
  p.set_text(sle::server_name2, server2);
  p.set_text(sle::user_name2, user2);
  p.set_text(sle::user_password2, password2);
  p.set_text(sle::user_two2, password2);
}

bool write_settings(const std::vector<setting>& keys) {
  if (rt::set_profile_strings(gs_inifile, kSection, keys) == 1) return true;
  rt::dialogs().failure(QStringLiteral("错误信息"), QStringLiteral("保存设置失败!"));
  return false;
}

}  // namespace shared
