#include "wren/app_path.h"

#include "runtime/files.h"

namespace wren {
namespace {

QString& folder() {
  static QString f;
  return f;
}

}  // namespace

QString app_path() {
  if (folder().isEmpty()) set_app_path(rt::program_folder());
  return folder();
}

void set_app_path(const QString& path) {
  QString p = path;
  while (p.size() > 1 && p.endsWith(QLatin1Char('/'))) p.chop(1);
  folder() = p;
}

QString default_picture_path() { return app_path() + QStringLiteral("/000.bmp"); }

QString trim_spaces(const QString& text) {
  qsizetype b = 0, e = text.size();
  while (b < e && text[b] == QLatin1Char(' ')) ++b;
  while (e > b && text[e - 1] == QLatin1Char(' ')) --e;
  return text.mid(b, e - b);
}

}  // namespace wren
