#pragma once
// A user ODBC profile (odbc.ini) that exists only in this process's memory, in force while the
// object lives: the driver manager and the drivers read their data sources from it instead of
// the user's profile, which stays untouched. Nothing of it reaches the disk, so a process killed
// meanwhile leaves nothing behind, and another program, which reads its own profile, never sees
// it. Connect on one thread while it lives: it redirects ODBCINI for the whole process.
#include <QByteArray>
#include <QString>

namespace db {

class ScopedOdbcProfile {
 public:
  explicit ScopedOdbcProfile(const QByteArray& text);
  ~ScopedOdbcProfile();
  ScopedOdbcProfile(const ScopedOdbcProfile&) = delete;
  ScopedOdbcProfile& operator=(const ScopedOdbcProfile&) = delete;

  // Empty when the profile is in force; else why it is not, and the user's profile is.
  const QString& error() const { return error_; }

 private:
  int fd_ = -1;
  bool had_old_ = false;
  QByteArray old_;
  QString error_;
};

// A data source name that no earlier connect of this process used: the driver manager keeps
// what it read of a data source, whichever profile it came from.
QString fresh_data_source_name();

}  // namespace db
