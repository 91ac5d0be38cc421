#include "db/freetds_target.h"

#include "db/scoped_odbc_profile.h"
#include "runtime/registry.h"

namespace db {

namespace {

// FreeTDS cuts the strings of a login at this many UTF-16 code units, SQL Server's longest name.
constexpr qsizetype kLoginUnits = 128;

bool is_blank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\v') ||
         c == QLatin1Char('\f');
}

QString too_long(const QString& value) {
  return value.size() > kLoginUnits ? QStringLiteral("超过 %1 个字符").arg(kLoginUnits) : QString();
}

// Why a value cannot stand in the profile as it is, or an empty text. The profile reader drops
// blanks at either end; a line end would start a line of its own.
QString profile_refusal(const QString& value) {
  if (!rt::registry_text_allowed(value)) return QStringLiteral("含有控制字符");
  if (!value.isEmpty() && (is_blank(value.front()) || is_blank(value.back())))
    return QStringLiteral("首尾含有空白");
  return too_long(value);
}

// `shown`: the value as the message names it.
bool refused(const QString& field, const QString& shown, const QString& why, DbError& err) {
  if (why.isEmpty()) return false;
  err = {-1, QStringLiteral("%1%2%3，无法用于连接").arg(field, shown, why)};
  return true;
}

QString quoted(const QString& value) { return QStringLiteral("“%1”").arg(value); }

bool valid_port(const QString& port) {
  for (QChar c : port)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  bool ok = false;
  const int n = port.toInt(&ok);
  return ok && n >= 1 && n <= 65535;
}

}  // namespace

OdbcTarget freetds_target(const QString& server, const QString& database, const QString& login,
                          const QString& password, DbError& err) {
  QString host = server;
  QString port = QStringLiteral("1433");
  // "host,port" is SQL Server's own form for a port.
  if (const qsizetype comma = host.indexOf(QLatin1Char(',')); comma > 0) {
    port = host.mid(comma + 1);
    host = host.left(comma);
  }
  if (host.isEmpty() || host == QStringLiteral(".") ||
      host.compare(QStringLiteral("(local)"), Qt::CaseInsensitive) == 0)
    host = QStringLiteral("127.0.0.1");
  if (refused(QStringLiteral("服务器"), quoted(server), profile_refusal(host), err) ||
      refused(QStringLiteral("端口"), quoted(port),
              valid_port(port) ? QString() : QStringLiteral("不是 1 到 65535 的端口号"), err) ||
      refused(QStringLiteral("数据库"), quoted(database), profile_refusal(database), err) ||
      refused(QStringLiteral("用户名"), quoted(login), too_long(login), err) ||
      refused(QStringLiteral("密码"), QString(), too_long(password), err))
    return {};
  OdbcTarget target;
  target.data_source = fresh_data_source_name();
  target.user = login;
  target.password = password;
  target.profile = QStringLiteral(
                       "[%1]\nDriver=%2\nServer=%3\nPort=%4\nDatabase=%5\nTDS_Version=7.1\n"
                       "ClientCharset=UTF-8\n")
                       .arg(target.data_source, odbc_driver_path("libtdsodbc.so", "FreeTDS", false),
                            host, port, database)
                       .toUtf8();
  return target;
}

}  // namespace db
