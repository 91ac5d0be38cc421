#include "shared/sp_attach_db.h"

namespace shared {
namespace {

QString literal(QString s) {
  s.replace(QLatin1Char('\''), QStringLiteral("''"));
  return s;
}

}  // namespace

bool database_name_allowed(const QString& name) {
  if (name.isEmpty() || name.contains(QStringLiteral(".."))) return false;
  static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
  for (QChar c : name)
    if (forbidden.contains(c) || c.unicode() < 32 || c.unicode() == 127) return false;
  return true;
}

QString sp_attach_db(const QString& name, const QString& data_file, const QString& log_file) {
  return QStringLiteral("sp_attach_db '") + literal(name) + QStringLiteral("','") +
         literal(data_file) + QStringLiteral("','") + literal(log_file) + QStringLiteral("'");
}

}  // namespace shared
