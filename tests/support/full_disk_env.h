#pragma once
// The environment that gives a child process a full disk in one folder (full_disk.cpp).
#include <QProcessEnvironment>
#include <QString>

namespace test {

// `folder` (resolved here) holds `free` bytes more; added to `env` and returned.
QProcessEnvironment full_disk(const QString& folder, qint64 free,
                              QProcessEnvironment env = QProcessEnvironment::systemEnvironment());

}  // namespace test
