#pragma once
// Runs a helper program of the tests as a child process and tells how it ended.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace test {

struct ChildEnd {
  bool started = false;
  bool killed = false;  // ended by SIGKILL
  int exit_code = -1;   // when it exited by itself
  QString output;       // standard output and error
};

// Waits up to `timeout_ms`; a child still running then is killed and reported as not killed
// by itself (started, killed false, exit code -1).
ChildEnd run_child(const QString& program, const QStringList& args, int timeout_ms = 60000,
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

// A program built beside the running test binary.
QString sibling_program(const QString& name);

}  // namespace test
