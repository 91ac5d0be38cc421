#pragma once
// A real kestrel or plover, run with the GUI driver (gui_driver.cpp) loaded into it.
#include <QProcessEnvironment>
#include <QString>

namespace test {

// Runs `program` (a copy in its program folder) with the driver's `script`, the driver
// writing to `log`; its exit code, -1 when it did not end by itself within `timeout_ms` or
// ended by a signal. `env` is the environment it runs in; a library it preloads comes after
// the driver.
int run_driven_program(const QString& program, const QString& script, const QString& log,
                       int timeout_ms,
                       QProcessEnvironment env = QProcessEnvironment::systemEnvironment());

// Copies `program` into `folder` as an executable; its path there, empty on failure.
QString copy_program(const QString& program, const QString& folder);

}  // namespace test
