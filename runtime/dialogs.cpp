#include "runtime/dialogs.h"

#include <QStringList>

namespace rt {
namespace {

// Used until a program installs its own: answers nothing and never blocks.
class NullDialogs final : public Dialogs {
 public:
  void notice(const QString&, const QString&) override {}
  void failure(const QString&, const QString&) override {}
  bool question(const QString&, const QString&, bool default_yes) override { return default_yes; }
  FileChoice open_file(const QString&, const QString&, const QString&) override { return {}; }
};

NullDialogs null_dialogs;
Dialogs* current = &null_dialogs;

QString case_blind(const QString& pattern) {
  QString out;
  for (QChar c : pattern) {
    if (c.isLetter() && c.toLower() != c.toUpper())
      out += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
    else
      out += c;
  }
  return out;
}

}  // namespace

Dialogs& dialogs() { return *current; }
void set_dialogs(Dialogs* d) { current = d ? d : &null_dialogs; }

QStringList qt_name_filters(const QString& runtime_filter) {
  const QStringList parts = runtime_filter.split(QLatin1Char(','));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
      patterns << case_blind(p.trimmed());
    qsizetype open = description.indexOf(QLatin1Char('('));
    if (open >= 0) description = description.left(open).trimmed();
    filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
  }
  return filters;
}

}  // namespace rt
