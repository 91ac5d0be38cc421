#pragma once
// Whether a data file of the embedded server holds a sound database: it opens as one and passes
// SQLite's quick integrity check. The file is opened as the server opens it, so a journal that
// a crashed writer left is rolled back first, as the server's next connection would do. Only
// the file's own content calls it damaged: a file that is missing, busy or not readable by this
// process says nothing about its content (unknown).
#include <QString>

namespace db {

enum class DataFileState { sound, damaged, unknown };

// `detail` receives what was found (the check's first findings, or the error).
DataFileState check_data_file(const QString& path, QString& detail);

}  // namespace db
