#pragma once
// The real wren program, run in a program folder of its own in front of emulated V4L2 cameras
// (the emulated_v4l2 library, preloaded), driven by a script (the wren_test_script library,
// preloaded too; see wren_test_script.cpp).
#include <QString>
#include <QStringList>

namespace wren::test {

struct WrenResult {
  int exit_status = -1;  // -1 when the program did not end by itself
  QStringList lines;     // what the script printed
  QString errors;        // the program's standard error

  // The lines of one kind ("status", "failure", ...), without the kind.
  QStringList of(const QString& kind) const;
};

class WrenProcess {
 public:
  // `folder` becomes wren's program folder: the program is copied into it.
  explicit WrenProcess(const QString& folder);

  // The emulated cameras, in the emulator's configuration format.
  void set_cameras(const QByteArray& config);
  WrenResult run(const QStringList& script, int timeout_ms = 60000) const;

  const QString& folder() const { return folder_; }

 private:
  QString folder_;
};

}  // namespace wren::test
