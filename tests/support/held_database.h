#pragma once
// Another process that holds a SQLite database open: it runs `sql` on the file, then keeps it
// open until this object goes.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace test {

class HeldDatabase {
 public:
  explicit HeldDatabase(const QString& path, const QStringList& sql = {});
  ~HeldDatabase();
  HeldDatabase(const HeldDatabase&) = delete;
  HeldDatabase& operator=(const HeldDatabase&) = delete;

  // True once the child has run the statements and holds the file.
  bool ready() const { return ready_; }
  QString errors() const { return errors_; }
  // Ends the child with SIGKILL, as a crash would: what it left on disk stays as it is.
  void kill();

 private:
  QProcess child_;
  bool ready_ = false;
  QString errors_;
};

}  // namespace test
