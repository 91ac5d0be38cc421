#include "runtime/registry.h"

#include <odbcinst.h>

#include <QByteArray>

namespace rt {
namespace {

constexpr char kFile[] = "odbc.ini";

// Runs `f` with the installer in user mode, as the registry's current-user keys are.
template <typename F>
auto in_user_mode(F f) {
  UWORD old = ODBC_BOTH_DSN;
  SQLGetConfigMode(&old);
  SQLSetConfigMode(ODBC_USER_DSN);
  auto r = f();
  SQLSetConfigMode(old);
  return r;
}

}  // namespace

bool registry_text_allowed(const QString& text) {
  for (QChar c : text)
    if (c.category() == QChar::Other_Control) return false;
  return true;
}

QString odbc_section_of_key(const QString& key) {
  static const QString prefix = QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\");
  if (!key.startsWith(prefix, Qt::CaseInsensitive)) return {};
  QString section = key.mid(prefix.size());
  while (section.endsWith(QLatin1Char('\\'))) section.chop(1);
  if (section.isEmpty() || section.contains(QLatin1Char('\\')) ||
      section.contains(QLatin1Char('[')) || section.contains(QLatin1Char(']')) ||
      !registry_text_allowed(section))
    return {};
  return section;
}

int registry_set(const QString& key, const QString& value_name, const QString& value) {
  const QByteArray section = odbc_section_of_key(key).toUtf8();
  if (section.isEmpty() || value_name.isEmpty()) return -1;
  if (!registry_text_allowed(value_name) || !registry_text_allowed(value)) return -1;
  const QByteArray name = value_name.toUtf8(), text = value.toUtf8();
  return in_user_mode([&] {
    return SQLWritePrivateProfileString(section.constData(), name.constData(), text.constData(),
                                        kFile)
               ? 1
               : -1;
  });
}

int registry_delete(const QString& key, const QString& value_name) {
  const QByteArray section = odbc_section_of_key(key).toUtf8();
  if (section.isEmpty() || value_name.isEmpty() || !registry_text_allowed(value_name)) return -1;
  QString ignored;
  if (registry_get(key, value_name, ignored) != 1) return -1;
  const QByteArray name = value_name.toUtf8();
  return in_user_mode([&] {
    return SQLWritePrivateProfileString(section.constData(), name.constData(), nullptr, kFile) ? 1
                                                                                               : -1;
  });
}

int registry_get(const QString& key, const QString& value_name, QString& value) {
  const QByteArray section = odbc_section_of_key(key).toUtf8();
  if (section.isEmpty() || value_name.isEmpty()) return -1;
  const QByteArray name = value_name.toUtf8();
  // A default no stored value can hold tells a missing value from an empty one.
  static const char kMissing[] = "\x01missing\x01";
  char buf[4096];
  int n = in_user_mode([&] {
    return SQLGetPrivateProfileString(section.constData(), name.constData(), kMissing, buf,
                                      sizeof buf, kFile);
  });
  if (n < 0 || qstrcmp(buf, kMissing) == 0) return -1;
  value = QString::fromUtf8(buf, n);
  return 1;
}

}  // namespace rt
