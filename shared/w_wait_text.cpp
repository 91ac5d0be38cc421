#include "shared/w_wait_text.h"

QString w_wait_message(const QString& s_inf) {
  const QString lower = s_inf.toLower();
  if (lower == QStringLiteral("connect")) return QStringLiteral("正在连接数据库,请稍候……");
  if (lower == QStringLiteral("loaddata")) return QStringLiteral("正在载入数据,请稍候……");
  return s_inf + QStringLiteral(",请稍候……");
}
