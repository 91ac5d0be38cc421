#pragma once
#include <QString>

namespace rebuild {

// A line in the error log kv_log.txt for a problem of the run itself (not of a statement),
// written by the log's one writer; sqlca's status and error are left as they were.
void log_line(const QString& text);

}  // namespace rebuild
