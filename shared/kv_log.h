#pragma once
#include <QString>

// Appends one line to kv_log.txt in the program folder (code page 936, CR LF), the programs'
// only log. Opened and closed per line, so another program may read the log meanwhile.
// False when the line could not be written.
bool append_kv_log(const QString& line);

// A line in the log's own form: "<tag>: <yyyy-MM-dd HH:mm:ss>--><text>".
QString kv_log_line(const QString& tag, const QString& text);
