#include "shared/kv_log.h"

#include <QDateTime>
#include <QFile>

#include "runtime/codepage.h"
#include "shared/globals.h"

bool append_kv_log(const QString& line) {
  QFile f(gs_apppath + QStringLiteral("kv_log.txt"));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  const QByteArray bytes = rt::to_cp936(line) + "\r\n";
  return f.write(bytes) == bytes.size();
}

QString kv_log_line(const QString& tag, const QString& text) {
  return tag + QStringLiteral(": ") +
         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
         QStringLiteral("-->") + text;
}
