#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>

#include "shared/globals.h"

namespace test {

TempProgramFolder::TempProgramFolder(const QString& folder_name)
    : dir_(QDir::tempPath() + QStringLiteral("/salon-XXXXXX")) {
  const QString root = dir_.path() + QLatin1Char('/');
  path_ = root + folder_name + QLatin1Char('/');
  home_ = root + QStringLiteral("home/");
  QDir().mkpath(path_);
  QDir().mkpath(home_ + QStringLiteral(".config"));
  qputenv("HOME", home_.toUtf8());
  qputenv("ODBCINI", odbc_ini().toUtf8());
  qputenv("XDG_CONFIG_HOME", (home_ + QStringLiteral(".config")).toUtf8());
  set_program_folder(path_);
}

TempProgramFolder::~TempProgramFolder() {
  // Read-only files must not keep the folder from being removed.
  QDir d(dir_.path());
  for (const QString& f : {path_, home_}) {
    QDir sub(f);
    for (const QFileInfo& fi : sub.entryInfoList(QDir::Files | QDir::Hidden))
      QFile::setPermissions(fi.filePath(), fi.permissions() | QFileDevice::WriteOwner);
  }
}

void TempProgramFolder::write(const QString& name, const QByteArray& bytes) const {
  QFile f(file(name));
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray TempProgramFolder::read(const QString& name) const {
  QFile f(file(name));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString screenshot_folder() {
  const QString d = QStringLiteral(SALON_BUILD_DIR "/screenshots/");
  QDir().mkpath(d);
  return d;
}

}  // namespace test
