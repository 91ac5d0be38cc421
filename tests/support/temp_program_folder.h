#pragma once
// A temporary program folder for one test: gs_apppath and gs_inifile point into it, the ODBC
// user profile (ODBCINI), the configuration folder (XDG_CONFIG_HOME) and HOME lie inside it,
// and it is removed afterwards. Create it before the first ODBC call of the process: unixODBC
// reads ODBCINI once.
#include <QString>
#include <QTemporaryDir>

#include "tests/support/qt_print.h"

namespace test {

class TempProgramFolder {
 public:
  // `folder_name`: the name of the program folder itself (any name the file system allows).
  explicit TempProgramFolder(const QString& folder_name = QStringLiteral("app"));
  ~TempProgramFolder();

  const QString& path() const { return path_; }  // with a trailing '/'
  QString file(const QString& name) const { return path_ + name; }
  QString odbc_ini() const { return home_ + QStringLiteral(".odbc.ini"); }
  QString config_folder() const { return home_ + QStringLiteral(".config/"); }

  void write(const QString& name, const QByteArray& bytes) const;
  QByteArray read(const QString& name) const;

 private:
  QTemporaryDir dir_;
  QString path_;
  QString home_;
};

// Where tests leave pictures for people to look at: <build>/screenshots/.
QString screenshot_folder();

}  // namespace test
